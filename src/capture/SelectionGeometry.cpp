#include "SelectionGeometry.h"

#include "CaptureSelection.h"
#include "PixelRounding.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::array<int, HandleCount> GridOfElement{0, 1, 2, 3, 5, 6, 7, 8, 4};
constexpr std::array<int, HandleCount> ElementOfGrid{0, 1, 2, 3, 8, 4, 5, 6, 7};
constexpr std::array<CursorShape, HandleCount> CursorOfGrid{
    CursorShape::DiagonalNwSe, CursorShape::Vertical, CursorShape::DiagonalNeSw,
    CursorShape::Horizontal,   CursorShape::Move,     CursorShape::Horizontal,
    CursorShape::DiagonalNeSw, CursorShape::Vertical, CursorShape::DiagonalNwSe,
};
// The press-test grid is read from these elements: columns from the top row,
// rows from the left column.
constexpr std::array<int, 3> ColumnElements{0, 1, 2};
constexpr std::array<int, 3> RowElements{0, 3, 5};

bool isGridIndex(int index) { return index >= 0 && index < HandleCount; }

// a - b on the low 16 bits, as a 16-bit signed value.
std::int16_t difference16(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int16_t>(
        static_cast<std::uint16_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)));
}

// Drawing and resizing never reach left of or above the screen.
std::int32_t clampedPointer(double value) { return std::max<std::int32_t>(RoundPixel<std::int32_t>(value), 0); }

// Strictly inside one grid column or row: its first pixel does not count.
bool insideHandle(std::int16_t edge, double pointer) { return edge < pointer && pointer < edge + HandleSize; }

}  // namespace

HandleLayout LocateSet(const ShapeRect& shape)
{
    const double half = HandleSize / 2.0;
    const std::array<double, 3> columns{shape.left - half, shape.left + shape.width / 2 - half,
                                        shape.left + shape.width - half};
    const std::array<double, 3> rows{shape.top - half, shape.top + shape.height / 2 - half,
                                     shape.top + shape.height - half};
    HandleLayout layout;
    for (int element = 0; element < HandleCount; ++element) {
        const int grid = GridOfElement[static_cast<std::size_t>(element)];
        layout[static_cast<std::size_t>(element)] = {columns[static_cast<std::size_t>(grid % 3)],
                                                     rows[static_cast<std::size_t>(grid / 3)]};
    }
    return layout;
}

int GridIndexOfElement(int element)
{
    return isGridIndex(element) ? GridOfElement[static_cast<std::size_t>(element)] : -1;
}

int ElementOfGridIndex(int gridIndex)
{
    return isGridIndex(gridIndex) ? ElementOfGrid[static_cast<std::size_t>(gridIndex)] : -1;
}

unsigned EdgesOfGridIndex(int gridIndex)
{
    if (!isGridIndex(gridIndex))
        return NoEdge;
    constexpr std::array<unsigned, 3> columnEdges{LeftEdge, NoEdge, RightEdge};
    constexpr std::array<unsigned, 3> rowEdges{TopEdge, NoEdge, BottomEdge};
    return columnEdges[static_cast<std::size_t>(gridIndex % 3)] | rowEdges[static_cast<std::size_t>(gridIndex / 3)];
}

CursorShape CursorOfGridIndex(int gridIndex)
{
    return isGridIndex(gridIndex) ? CursorOfGrid[static_cast<std::size_t>(gridIndex)] : CursorShape::Arrow;
}

PressResult SelectionEditor::press(double x, double y, bool pictureVisible)
{
    // A second button pressed during a drag restarts cleanly instead of leaving
    // two drag flags set.
    m_drag.Drawing = m_drag.Resizing = m_drag.Moving = false;
    m_drag.PressY = RoundPixel<std::int32_t>(y);
    m_drag.PressX = RoundPixel<std::int32_t>(x);
    if (pictureVisible && pressGrabsHandle(x, y))
        return m_drag.Moving ? PressResult::Move : PressResult::Resize;
    m_shape.visible = true;
    m_drag.Drawing = true;
    m_shape.height = 0;
    m_shape.width = 0;
    m_shape.top = m_drag.PressY;
    m_shape.left = m_drag.PressX;
    return PressResult::NewOutline;
}

// Strict comparisons on the unrounded pointer: a handle's leftmost column and top
// row do not count. Exactly two matches (one column and one row, or two columns
// of a narrow selection) grab a handle.
bool SelectionEditor::pressGrabsHandle(double x, double y)
{
    int count = 0;
    int column = 0;
    int row = 0;
    for (int c = 0; c < 3; ++c) {
        if (insideHandle(m_drag.HandleColumns[static_cast<std::size_t>(c)], x)) {
            column = c;
            ++count;
        }
        if (insideHandle(m_drag.HandleRows[static_cast<std::size_t>(c)], y)) {
            row = c;
            ++count;
        }
    }
    m_drag.HandleIndex = static_cast<std::int16_t>(column + 3 * row);
    if (count != 2)
        return false;
    if (m_drag.HandleIndex == CentreGridIndex) {
        m_drag.Moving = true;
        m_drag.HeldX = RoundPixel<std::int32_t>(m_shape.left);
        m_drag.HeldY = RoundPixel<std::int32_t>(m_shape.top);
    } else {
        m_drag.Resizing = true;
        m_drag.HeldX = RoundPixel<std::int32_t>(m_shape.width);
        m_drag.HeldY = RoundPixel<std::int32_t>(m_shape.height);
    }
    m_drag.CursorPending = true;
    return true;
}

std::optional<CursorShape> SelectionEditor::move(double x, double y)
{
    std::optional<CursorShape> cursor;
    if (m_shape.visible && m_drag.CursorPending) {
        cursor = CursorOfGridIndex(m_drag.HandleIndex);
        m_drag.CursorPending = false;
    }
    if (m_drag.Drawing)
        drawTo(clampedPointer(x), clampedPointer(y));
    else if (m_drag.Resizing)
        resizeTo(clampedPointer(x), clampedPointer(y));
    else if (m_drag.Moving)
        moveTo(RoundPixel<std::int32_t>(x), RoundPixel<std::int32_t>(y));
    return cursor;
}

// The outline spans from the press point to the pointer, whichever way it went.
void SelectionEditor::drawTo(std::int32_t x, std::int32_t y)
{
    const std::int16_t dx = difference16(m_drag.PressX, x);
    const std::int16_t dy = difference16(m_drag.PressY, y);
    if (dx > 0) {
        m_shape.left = x;
        m_shape.width = dx;
    } else {
        m_shape.width = std::abs(dx);
        m_shape.left = m_drag.PressX;
    }
    if (dy > 0) {
        m_shape.top = y;
        m_shape.height = dy;
    } else {
        m_shape.top = m_drag.PressY;
        m_shape.height = std::abs(dy);
    }
}

// Works from the press point and the size at the press, not from the former
// edges: the edge that stays may shift by the up to 3 pixels between the press
// and the edge its handle marks. Dragging past the opposite edge flips the outline.
void SelectionEditor::resizeTo(std::int32_t x, std::int32_t y)
{
    const double dx = difference16(x, m_drag.PressX);
    const double dy = difference16(y, m_drag.PressY);
    const double w0 = m_drag.HeldX;
    const double h0 = m_drag.HeldY;
    const unsigned edges = EdgesOfGridIndex(m_drag.HandleIndex);
    if (edges & TopEdge) {
        const bool flipped = dy > h0;
        m_shape.top = flipped ? m_drag.PressY + h0 : y;
        m_shape.height = flipped ? dy - h0 : h0 - dy;
    } else if (edges & BottomEdge) {
        const bool flipped = h0 + dy <= 0;
        m_shape.height = flipped ? -(h0 + dy) : h0 + dy;
        if (flipped)
            m_shape.top = y;
    }
    if (edges & LeftEdge) {
        const bool flipped = dx >= w0;
        m_shape.width = flipped ? dx - w0 : w0 - dx;
        m_shape.left = flipped ? m_drag.PressX + w0 : x;
    } else if (edges & RightEdge) {
        const bool flipped = w0 + dx < 0;
        m_shape.width = flipped ? -(w0 + dx) : w0 + dx;
        if (flipped)
            m_shape.left = x;
    }
}

// Not clamped: the outline may leave the screen on any side.
void SelectionEditor::moveTo(std::int32_t x, std::int32_t y)
{
    m_shape.top = static_cast<double>(m_drag.HeldY) - m_drag.PressY + y;
    m_shape.left = static_cast<double>(m_drag.HeldX) - m_drag.PressX + x;
}

void SelectionEditor::release(CaptureSelection& selection)
{
    m_drag.Drawing = m_drag.Resizing = m_drag.Moving = false;
    // A handle clicked without moving must not leave the resize pointer for the
    // next hover.
    m_drag.CursorPending = false;
    SetSelectionSizes(selection, m_shape.width, m_shape.height);
}

void SelectionEditor::recordGrid()
{
    const HandleLayout layout = handles();
    for (std::size_t i = 0; i < 3; ++i) {
        m_drag.HandleColumns[i] = RoundPixel<std::int16_t>(layout[static_cast<std::size_t>(ColumnElements[i])].left);
        m_drag.HandleRows[i] = RoundPixel<std::int16_t>(layout[static_cast<std::size_t>(RowElements[i])].top);
    }
}
