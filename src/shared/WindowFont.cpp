#include "WindowFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QWidget>

namespace {

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPointSize(9);
    return font;
}

// The stand-in faces are larger than the face the layout was drawn for: the font
// shrinks in half points until the wrapped text fits the label's box.
void fitTextToBox(QLabel& label)
{
    QFont font = label.font();
    const QRect box(QPoint(0, 0), label.size());
    for (qreal size = font.pointSizeF(); size >= 6.0; size -= 0.5) {
        font.setPointSizeF(size);
        if (QFontMetrics(font).boundingRect(box, Qt::TextWordWrap, label.text()).height() <= box.height())
            break;
    }
    label.setFont(font);
}

// Whether layout, or a layout inside it, places widget.
bool places(const QLayout& layout, const QWidget& widget)
{
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (item->widget() == &widget || (item->layout() && places(*item->layout(), widget)))
            return true;
    }
    return false;
}

// A layout gives a wrapped label the height its text needs in any face; only a label
// placed by hand has a box that the text may overflow.
bool placedByHand(const QLabel& label)
{
    const QWidget* parent = label.parentWidget();
    return !parent || !parent->layout() || !places(*parent->layout(), label);
}

}  // namespace

void ApplyWindowFont(QWidget& window)
{
    window.setFont(windowFont());
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->wordWrap() && placedByHand(*label))
            fitTextToBox(*label);
}
