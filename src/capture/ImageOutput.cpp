#include "ImageOutput.h"

#include "SelectionGeometry.h"

#include <QCoreApplication>
#include <QFileInfo>

QString SaveFilter()
{
    return QCoreApplication::translate("ImageOutput",
                                       "BMPファイル(*.bmp)|*.bmp|JPEGファイル(*.jpg,*jpe,*jpeg)|"
                                       "*.jpg;*.jpe;*.jpeg|PINGファイル(*.png)|*.png|全てのファイル|*.*");
}

void RememberSave(SaveDialogMemory& memory, const QString& fileName, int filterIndex)
{
    const QFileInfo file(fileName);
    const QString name = file.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString folder = fileName.left(fileName.size() - name.size());
    memory.fileName = folder + (dot > 0 ? name.left(dot) : name);
    memory.filterIndex = filterIndex;
    static const QString extensions[] = {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("png")};
    if (filterIndex >= 1 && filterIndex <= 3)
        memory.defaultExtension = extensions[filterIndex - 1];
}

std::optional<SaveFormat> FormatOfSave(int filterIndex, const QString& fileName)
{
    switch (filterIndex) {
    case 1: return SaveFormat::Bmp;
    case 2: return SaveFormat::Jpeg;
    case 3: return SaveFormat::Png;
    default: break;
    }
    const QString extension = QFileInfo(fileName).suffix().toLower();
    if (extension == u"bmp")
        return SaveFormat::Bmp;
    if (extension == u"jpg" || extension == u"jpe" || extension == u"jpeg")
        return SaveFormat::Jpeg;
    if (extension == u"png")
        return SaveFormat::Png;
    return std::nullopt;
}

bool IsSavableSelection(const ShapeRect& shape) { return shape.visible && (shape.width >= 2 || shape.height >= 2); }

ImageWrite ImageWriteOf(SaveFormat format, const OutputOptions& options)
{
    ImageWrite write;
    write.format = format;
    write.depth = options.BitDepth;
    write.reduction = ReductionFlags(options);
    write.rle = options.RleCompress != OptionFalse;
    write.quality = options.JpegQuality;
    write.progressive = JpegProgressiveArgument(options);
    if (options.PngDetailed == 1)
        write.png = PngOptionRecord(options);
    return write;
}

DibStatus WriteImage(DIBHandle image, SaveFormat format, const std::string& path, const OutputOptions& options,
                     ExistingFile existing)
{
    return WriteImageFile(image, ImageWriteOf(format, options), path, existing);
}

SaveSource GreyedSource(DIBHandle image, int strength)
{
    SaveSource source{DibGuard(image), {}};
    source.status = GrayDIB(image, strength);
    if (!source.status)
        source.image.reset();
    return source;
}

QString NoSelectionText()
{
    return QCoreApplication::translate("ImageOutput", "範囲が選択されていないか、余りにも範囲が狭すぎます。");
}

QString UnknownFormatText(const QString& fileName)
{
    return QCoreApplication::translate("ImageOutput", "%1 は保存できません。「全てのファイル」で保存できるのは、"
                                                      "拡張子が .bmp、.jpg、.jpe、.jpeg、.png のファイルです。")
        .arg(fileName);
}
