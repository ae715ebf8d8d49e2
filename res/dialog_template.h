#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

// Dialog and menu resources as plain data. Rectangles are in dialog units; the window layer turns
// them into pixels from the dialog font. Captions and font names are UTF-8.
namespace res {

enum class ControlKind {
    kPushButton,
    kCheckBox,
    kRadioButton,
    kGroupBox,
    kStatic,
    kEdit,
    kDropDownList,
    kReportList,
    kProgressBar,
    kIcon,       // the application icon at its natural size, from the top left of the rectangle
    kEtchedLine, // a sunken horizontal separator across the rectangle
};

// Style flags; combine with |.
enum ControlStyle : unsigned {
    kNone = 0,
    kGroupStart = 1u << 0,    // a radio button that starts a new group of exclusive buttons
    kPushLike = 1u << 1,      // a check box drawn as a toggle push button
    kDefault = 1u << 2,       // the default push button
    kDigitsOnly = 1u << 3,    // an edit that accepts digits only
    kOwnerData = 1u << 4,     // a report list whose texts come from the list class on request
    kCheckBoxes = 1u << 5,    // a report list with a check box in every row
    kSingleSel = 1u << 6,     // a report list with at most one selected row
    kShowSelAlways = 1u << 7, // a report list that shows its selection without focus
    kRightAlign = 1u << 8,    // right-aligned text (statics and edits)
    kDisabled = 1u << 9,      // created disabled
    kCenter = 1u << 10,       // centred text (statics)
    kEndEllipsis = 1u << 11,  // a static that ends a text too long for it with "…"
};

constexpr ControlStyle operator|(ControlStyle a, ControlStyle b) {
    return static_cast<ControlStyle>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// How a control follows a dialog that the user enlarges: the shares, in percent, of the extra
// width by which it moves right and grows wider, and of the extra height by which it moves down
// and grows taller. All zero: it keeps its place and size.
struct Resize {
    int moveX = 0;
    int growX = 0;
    int moveY = 0;
    int growY = 0;
};

struct ControlTemplate {
    int id; // -1 for controls that are never addressed (unnamed frames and labels)
    ControlKind kind;
    const char* caption;
    int x, y, cx, cy;
    ControlStyle style = kNone;
    int textLimit = 0; // edits: typing stops at this many characters, 0 for no limit
    Resize resize = {};
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontName;
    int pointSize;
    int cx, cy;
    std::span<const ControlTemplate> controls;
    bool appWindow = false; // a top-level window with a minimize box, shown in the task bar
    bool resizable = false; // opens at its size and can be enlarged; see Resize
};

// The controls of `first` followed by those of `second`, for templates that start with a shared
// block.
template <std::size_t N, std::size_t M>
constexpr std::array<ControlTemplate, N + M> JoinControls(const ControlTemplate (&first)[N],
                                                          const ControlTemplate (&second)[M]) {
    std::array<ControlTemplate, N + M> joined{};
    std::copy(first, first + N, joined.begin());
    std::copy(second, second + M, joined.begin() + N);
    return joined;
}

// A menu entry: a command (id != 0), a separator (id 0, no caption, no children) or a submenu
// (children not empty). Captions may hold an "&" accelerator marker.
struct MenuItemTemplate {
    int id;
    const char* caption;
    std::span<const MenuItemTemplate> children = {};

    constexpr bool IsSeparator() const { return id == 0 && caption == nullptr; }
    constexpr bool IsSubmenu() const { return !children.empty(); }
};

struct MenuTemplate {
    int id;
    std::span<const MenuItemTemplate> items; // the menu bar entries; context menus use the first
};

// The menus of the program, by resource id; null for an unknown id.
const MenuTemplate* FindMenu(int id);

} // namespace res
