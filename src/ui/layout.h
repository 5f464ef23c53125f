// Turns the declarative layout of a form (containers holding their children
// in order, in columns started by Control::new_column() holding rows started
// by Control::new_row()) into positions. Portable: every backend places and
// reports controls by it; a text measure supplies text extents and the
// style the sizes of native controls' parts.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Control;
class Form;

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

// Text extents in the font of the controls; a line break starts a new line.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual Size Measure(const std::string& text) const = 0;
};

// Sizes of the parts of native controls, in pixels: every number the
// layout's size rules use.
struct LayoutStyle {
  int margin = 8;                 // inside a container, around its rows
  int spacing = 8;                // between the controls of a row
  int column_spacing = 8;         // between the columns of a container
  int row_spacing = 6;            // between rows
  int caption_height = 12;        // extra top inset of a framed container for its caption
  int frame_caption_padding = 8;  // a framed container's width beyond its caption and margins
  int tab_height = 24;            // the tab strip of a page control
  int tab_padding = 16;           // a tab's width beyond its caption
  int page_border = 2;            // a page control's frame around its sheets
  int page_min_width = 100;       // the least page of a page control
  int page_min_height = 50;
  int button_height = 25;
  int button_min_width = 75;
  int button_padding = 24;         // a button's width beyond its caption
  int button_padding_height = 10;  // a button's height beyond its caption
  int edit_height = 21;
  int edit_width = 100;
  int edit_padding = 10;
  int check_height = 19;
  int check_box = 20;     // the box and its gap before the caption
  int check_padding = 4;  // a check box's or radio button's size beyond box and caption
  int combo_height = 21;
  int combo_arrow = 28;
  int combo_min_width = 60;
  int memo_width = 320;
  int memo_height = 120;
  int updown_width = 17;
  int radio_item_height = 20;
  int radio_column_spacing = 12;
  int label_gap = 3;   // between a labelled edit's label and its edit box
  int char_width = 7;  // average character, for width hints
  int scrollbar = 17;  // a memo's vertical scroll bar
};

// Where one control goes, in the coordinates of its container (the form's
// client area, a group box, a radio group or a page control).
struct Placement {
  Rect bounds;
  // A labelled edit's caption and edit box (inside bounds).
  Rect label;
  Rect field;
  // A radio group's buttons, relative to the group's own origin.
  std::vector<Rect> items;
};

// The positions of every control of a form. Controls keep the largest size
// they ever needed, so a read-out that gets a shorter text does not make its
// row jump back and forth; Note records each state a control passes through,
// so that the sizes do not depend on when the form is laid out.
class Layout {
 public:
  Layout(const TextMeasure& measure, LayoutStyle style);

  // Lays the form out again from its current state; true when any placement
  // changed since the last run.
  bool Update(const Form& form);
  // Counts the runs of Update that changed a placement.
  uint64_t revision() const { return revision_; }
  // The control's state changed: its size now counts towards the largest
  // it needed, even when the form is laid out only after a later change.
  // Before the first run the form is still being built (its width hints
  // may not be set yet), and only the sizes at that run count.
  void Note(const Control& control);

  const Placement* Find(const Control& control) const;
  // The control's bounds in the form's client area (the form's own: its
  // content size at the origin); nullopt when the last run did not place it.
  std::optional<Rect> ClientBounds(const Control& control) const;
  // Size of the form's client area that shows every control.
  Size content_size() const { return content_; }
  const LayoutStyle& style() const { return style_; }

 private:
  // What a control needs of its container's row.
  struct Box {
    Size size;
    // Containers and tall controls hang from the top of their row; the
    // others are centred in it, so a label lines up with the edit beside it.
    bool hangs = false;
  };
  class Sizer;  // the size rules of the kinds

  // Places the children of `container` in columns of rows from (left,
  // top); returns the right and bottom edges of what they cover.
  Size ArrangeChildren(const Control& container, int left, int top);
  Box NaturalSize(const Control& control, Placement& placement);
  Size Grow(const Control& control, Size size);

  const TextMeasure& measure_;
  LayoutStyle style_;
  std::map<const Control*, Placement> placements_;
  Placement scratch_;  // for Note, which keeps no placement
  std::map<const Control*, Size> largest_;
  Size content_;
  uint64_t revision_ = 0;
  bool laid_out_ = false;  // Update ran
};

}  // namespace ui
