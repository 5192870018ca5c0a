#include "SpinButton.h"

#include "NumberField.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ArrowWidth = 16;  // pixels taken from the buddy's right edge

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

}  // namespace

SpinButton::SpinButton(QWidget* parent)
    : QWidget(parent)
    , m_up(makeArrow(this, Qt::UpArrow))
    , m_down(makeArrow(this, Qt::DownArrow))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, &SpinButton::stepUp);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::stepDown);
}

SpinButton::SpinButton(QWidget* parent, QLineEdit* buddy, std::int32_t upper, std::int32_t lower, std::int32_t position)
    : SpinButton(parent)
{
    bind(buddy, upper, lower, position);
    place();
}

void SpinButton::bind(QLineEdit* buddy, std::int32_t upper, std::int32_t lower, std::int32_t position)
{
    m_buddy = buddy;
    m_upper = upper;
    m_lower = lower;
    m_position = static_cast<std::int32_t>(NumberField::clamp(position, lower, upper));
    writePosition();
}

void SpinButton::place()
{
    const QRect field = m_buddy->geometry();
    const QPoint topLeft = m_buddy->parentWidget()->mapTo(window(), field.topLeft());
    const QPoint inParent = parentWidget()->mapFrom(window(), topLeft);
    const int width = std::min(ArrowWidth, field.width() / 2);
    m_buddy->resize(field.width() - width, field.height());
    setGeometry(inParent.x() + field.width() - width, inParent.y(), width, field.height());
    raise();
}

void SpinButton::stepUp() { step(m_upper); }

void SpinButton::stepDown() { step(m_lower); }

void SpinButton::step(std::int32_t toward)
{
    if (!m_buddy)
        return;
    const auto shown = NumberField::parse(m_buddy->text());
    if (shown)
        m_position = static_cast<std::int32_t>(NumberField::clamp(NumberField::floorToInt(*shown), m_lower, m_upper));
    if (m_position != toward)
        m_position += toward > m_position ? 1 : -1;
    if (shown && *shown == m_position)
        return;  // the field already shows this number; leave the text as typed
    writePosition();
}

void SpinButton::writePosition() { m_buddy->setText(NumberField::formatGrouped(m_position)); }

SpinButton* SpinButton::attachedTo(const QLineEdit* buddy)
{
    if (!buddy)
        return nullptr;
    for (SpinButton* spin : buddy->window()->findChildren<SpinButton*>())
        if (spin->m_buddy == buddy)
            return spin;
    return nullptr;
}

SpinButton* CreateSpinButton(QWidget* parent, QLineEdit* buddy, std::int32_t upper, std::int32_t lower,
                             std::int32_t position)
{
    if (!parent || !buddy || !buddy->parentWidget())
        return nullptr;
    auto* spin = new SpinButton(parent, buddy, upper, lower, position);
    spin->show();
    return spin;
}

void DestroySpinButton(QLineEdit* buddy) { delete SpinButton::attachedTo(buddy); }
