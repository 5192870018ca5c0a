#pragma once
// The save and the clipboard copy without windows: what the file-save dialog is
// asked and remembers between saves, which encoder a chosen filter and name mean, and
// the encoding of the source image with the output options.

#include "OutputOptions.h"
#include "shared/ImageFiles.h"

#include <QString>

#include <optional>

struct CaptureSelection;
struct ShapeRect;

// The four filters of the file-save dialog, index 1 to 4.
[[nodiscard]] QString SaveFilter();
inline constexpr int AllFilesFilter = 4;

// What the file-save dialog keeps between saves for the life of the mode.
struct SaveDialogMemory {
    QString fileName;  // proposed name, without its extension
    int filterIndex = 1;
    QString defaultExtension = QStringLiteral("jpg");
};

// After a save to fileName with filterIndex: the name proposed next (the file's own
// name without its extension, the folders whole) and the default extension of the
// filter (bmp, jpg, png; "all files" keeps the one before).
void RememberSave(SaveDialogMemory& memory, const QString& fileName, int filterIndex);

// The encoder for a chosen filter; with "all files" the name's extension decides
// (.bmp, .jpg/.jpe/.jpeg, .png, in any case), and any other name gives nullopt.
[[nodiscard]] std::optional<SaveFormat> FormatOfSave(int filterIndex, const QString& fileName);

// The save's selection check: a visible outline at least 2 pixels wide or high.
[[nodiscard]] bool IsSavableSelection(const ShapeRect& shape);

// What the options mean for a file: BMP reduced as BitDepth says and run-length
// encoded when RleCompress is set at 8 bits; JPEG with the quality and progressive
// flag; PNG plain or, with PngDetailed, through the option record.
[[nodiscard]] ImageWrite ImageWriteOf(SaveFormat format, const OutputOptions& options);
// Writes image (changed in place) to path as ImageWriteOf says. With
// ExistingFile::Keep an existing file stays and the write reports FileExists.
[[nodiscard]] DibStatus WriteImage(DIBHandle image, SaveFormat format, const std::string& path,
                                   const OutputOptions& options, ExistingFile existing = ExistingFile::Replace);

// The image a save writes; when it could not be made, status says why.
struct SaveSource {
    DibGuard image;
    DibStatus status;
};
// image (taken over) moved toward grey by strength, 0..255; a grey step that fails
// leaves no image to save.
[[nodiscard]] SaveSource GreyedSource(DIBHandle image, int strength);

// The messages of the save, titled SaveErrorTitle.
[[nodiscard]] QString NoSelectionText();
[[nodiscard]] QString UnknownFormatText(const QString& fileName);
