#include "WindowFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QWidget>

namespace {

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
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

// A label that its parent lays out gets from the layout the height its wrapped text
// needs; it has no box of its own to fit.
bool laidOut(const QLabel& label)
{
    return label.parentWidget() && label.parentWidget()->layout();
}

}  // namespace

void ApplyWindowFont(QWidget& window)
{
    window.setFont(windowFont());
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->wordWrap() && !laidOut(*label))
            fitTextToBox(*label);
}
