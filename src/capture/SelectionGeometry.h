#pragma once
// The geometry of the selection on the frozen desktop copy: the outline Shape1,
// its nine handles and what a press, a pointer move and a release do to them.
// Screen pixels throughout, origin at the screen's top-left; the pointer arrives
// unrounded (Qt's QPointF). No widgets here: the desktop copy forwards its mouse
// events and draws what this says.

#include <array>
#include <cstdint>
#include <optional>

struct CaptureSelection;

// The outline Shape1. Values may end in .5 after a typed update; hidden = no selection.
struct ShapeRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool visible = false;
};

// The drag state of the desktop copy; all zero when the window is created.
// At most one of Drawing, Resizing and Moving is true.
struct SelectionDrag {
    bool Drawing = false;
    bool Resizing = false;
    bool Moving = false;
    bool CursorPending = false;  // the next move sets the drag's pointer shape
    std::int32_t PressX = 0;     // press point, rounded, not clamped
    std::int32_t PressY = 0;
    std::int32_t HeldX = 0;                       // moving: Shape1's left; resizing: its width (rounded)
    std::int32_t HeldY = 0;                       // moving: Shape1's top; resizing: its height (rounded)
    std::int16_t HandleIndex = 0;                 // grid index of the pressed handle, column + 3 x row
    std::array<std::int16_t, 3> HandleColumns{};  // left edges of handles 0, 1, 2
    std::array<std::int16_t, 3> HandleRows{};     // top edges of handles 0, 3, 5
};

inline constexpr int HandleSize = 8;  // handles are 8 x 8 squares centred on their point
inline constexpr int HandleCount = 9;
inline constexpr int CentreGridIndex = 4;

// Top-left corner of one handle; may end in .5.
struct HandlePosition {
    double left = 0;
    double top = 0;
};

// Indexed by Shape element (0 top left, 1 top middle, 2 top right, 3 middle left,
// 4 middle right, 5 bottom left, 6 bottom middle, 7 bottom right, 8 centre).
using HandleLayout = std::array<HandlePosition, HandleCount>;

// The edges a handle drags, as bits of its grid index's row and column.
enum HandleEdge : unsigned {
    NoEdge = 0,
    LeftEdge = 1,
    RightEdge = 2,
    TopEdge = 4,
    BottomEdge = 8,
};

// Pointer shapes of the desktop copy; the window maps them to its toolkit's cursors.
enum class CursorShape : std::uint8_t {
    Arrow,         // no drag
    DiagonalNwSe,  // top left, bottom right
    DiagonalNeSw,  // top right, bottom left
    Vertical,      // top middle, bottom middle
    Horizontal,    // middle left, middle right
    Move,          // centre: four-headed arrow
};

// Places the handles around the outline. Each column and row position is computed
// once and shared, so handles in one column have exactly one left value.
[[nodiscard]] HandleLayout LocateSet(const ShapeRect& shape);
// Shape element <-> grid index (column + 3 x row). Centre: element 8, grid 4.
[[nodiscard]] int GridIndexOfElement(int element);
[[nodiscard]] int ElementOfGridIndex(int gridIndex);
[[nodiscard]] unsigned EdgesOfGridIndex(int gridIndex);
[[nodiscard]] CursorShape CursorOfGridIndex(int gridIndex);

// What a press started. The window hides all handles on every press; on
// NewOutline it also hides the picture window.
enum class PressResult : std::uint8_t {
    NewOutline,
    Resize,
    Move,
};

class SelectionEditor
{
public:
    // Pointer press at (x, y). pictureVisible: the picture window is shown, which
    // is what makes the handles grabbable.
    PressResult press(double x, double y, bool pictureVisible);
    // Pointer move. Returns the pointer shape to set, once, at the first move of
    // a handle drag; nullopt leaves the pointer as it is.
    std::optional<CursorShape> move(double x, double y);
    // Ends any drag (the window goes back to the arrow pointer) and stores the
    // selection and view sizes of Shape1 into selection.
    void release(CaptureSelection& selection);
    // Records the press-test grid from the handles' current places: rounded
    // lefts of elements 0, 1, 2 and tops of elements 0, 3, 5.
    void recordGrid();

    [[nodiscard]] HandleLayout handles() const { return LocateSet(m_shape); }
    [[nodiscard]] const ShapeRect& shape() const { return m_shape; }
    // For the panel's Update, Select all and Clear: sets Shape1 as it stands.
    void setShape(const ShapeRect& shape) { m_shape = shape; }
    [[nodiscard]] const SelectionDrag& drag() const { return m_drag; }

private:
    [[nodiscard]] bool pressGrabsHandle(double x, double y);
    void drawTo(std::int32_t x, std::int32_t y);
    void resizeTo(std::int32_t x, std::int32_t y);
    void moveTo(std::int32_t x, std::int32_t y);

    SelectionDrag m_drag;
    ShapeRect m_shape;
};
