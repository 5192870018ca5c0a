#pragma once
// A small up/down arrow widget bound to a number field (its buddy). Made at a window's
// load (CreateSpinButton), it sits at the buddy's right edge, the buddy giving up that
// much width; declared in a window's form, it stays where the form puts it and is
// bound at load. It writes its position into the buddy as decimal text with the
// locale's thousands separator from 1000 on.
// Each click steps from the number the buddy shows at that moment (text that is not
// a number steps from the last position), held inside the bounds. Typing values
// outside the bounds is not prevented: the windows validate their own fields.

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <cstdint>

class QToolButton;

class SpinButton : public QWidget
{
    Q_OBJECT
public:
    // upper and lower may come in either order: the up arrow moves toward upper.
    SpinButton(QWidget* parent, QLineEdit* buddy, std::int32_t upper, std::int32_t lower, std::int32_t position);
    // A form's spin button, bound to nothing until bind().
    explicit SpinButton(QWidget* parent = nullptr);

    void bind(QLineEdit* buddy, std::int32_t upper, std::int32_t lower, std::int32_t position);

    [[nodiscard]] QLineEdit* buddy() const { return m_buddy; }
    [[nodiscard]] std::int32_t position() const { return m_position; }

    void stepUp();
    void stepDown();
    // A new bound for the up arrow; the position and the buddy stay as they are.
    void setUpper(std::int32_t upper) { m_upper = upper; }
    [[nodiscard]] std::int32_t upper() const { return m_upper; }

    // The spin button bound to buddy, or nullptr.
    [[nodiscard]] static SpinButton* attachedTo(const QLineEdit* buddy);

private:
    void step(std::int32_t toward);
    void place();
    void writePosition();

    QPointer<QLineEdit> m_buddy;  // may go first; the arrows then do nothing
    std::int32_t m_upper = 0;
    std::int32_t m_lower = 0;
    std::int32_t m_position = 0;
    QToolButton* m_up;
    QToolButton* m_down;
};

// Creates a visible spin button, child of parent, bound to buddy, showing position.
// Returns nullptr (and creates nothing) when parent or buddy is missing.
SpinButton* CreateSpinButton(QWidget* parent, QLineEdit* buddy, std::int32_t upper, std::int32_t lower,
                             std::int32_t position);
// Removes the spin button bound to buddy; the buddy itself stays. Nothing bound: no-op.
void DestroySpinButton(QLineEdit* buddy);
