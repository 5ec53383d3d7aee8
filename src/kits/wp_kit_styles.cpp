// The look of every kit: head alignment, title, border and client brush
// settings, the chart styles, and how a change spreads by its scope.
#include <algorithm>
#include <initializer_list>
#include <string>

#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/well/wp_well.h"

namespace davodu {

void CWpKit::SetHeadAlign(int align) {
  for (CWpKit* c : children_) c->SetHeadAlign(align);
  head_align_ = align < 0 ? -1 : (align > 0 ? 1 : 0);
}

void CWpKit::SetTitleDirection(int direction) { title_direction_ = std::clamp(direction, 0, 2); }

void CWpKit::SetTtlFtScope(int scope) { title_font_scope_ = std::clamp(scope, 0, 2); }

void CWpKit::SetTitleScope(int scope) {
  if (scope == title_scope_) return;
  title_scope_ = std::clamp(scope, 0, 2);
  ApplyReset(kResetTitle);
}

void CWpKit::SetBoderScope(int scope) {
  if (scope == border_scope_) return;
  border_scope_ = std::clamp(scope, 0, 2);
  ApplyReset(kResetBorder);
}

void CWpKit::SetBdrLnScope(int scope) {
  if (scope == border_line_scope_) return;
  border_line_scope_ = std::clamp(scope, 0, 2);
  ApplyReset(kResetBorderPen);
}

void CWpKit::SetTitleVisible(int visible) {
  if (visible == title_visible_) return;
  border_mode_ = -1;
  border_flags_[2] = border_flags_[5] = border_flags_[6] = visible;
  title_visible_ = visible;
  ApplyReset(kResetTitle);
}

void CWpKit::SetClientVisible(int visible) {
  if (visible == client_visible_) return;
  border_mode_ = -1;
  border_flags_[1] = border_flags_[3] = border_flags_[4] = visible;
  client_visible_ = visible;
}

int CWpKit::GetBorderVisible(int index) const {
  if (index < 0 || index >= kBorderCount)
    throw CInvalidArgException("border flag index " + std::to_string(index) + " outside 0..9");
  return border_flags_[index];
}

void CWpKit::SetBorderVisible(int value, int index) {
  border_mode_ = -1;
  if (index >= 0 && index < kBorderCount)
    border_flags_[index] = value;
  else
    std::fill(std::begin(border_flags_), std::end(border_flags_), value);
  ApplyReset(kResetBorder);
}

void CWpKit::SetBorderPen(const ZULOGPEN* pen) {
  if (!pen || *pen == border_pen_) return;
  border_pen_ = *pen;
  ApplyReset(kResetBorderPen);
}

void CWpKit::SetClientBrush(const ZULOGBRUSH* brush) {
  if (brush && !(*brush == client_brush_)) client_brush_ = *brush;
}

void CWpKit::SetTitleText(const std::string& text) { title_text_ = TrimBlanks(text); }

void CWpKit::SetTitleFont(const ZULOGFONT* font) {
  if (!font) return;
  title_height_ += font->height - title_font_.height;
  title_font_ = *font;
}

void CWpKit::SetBorderMode(int mode) {
  if (mode == border_mode_) return;
  mode = std::clamp(mode, 0, 9);
  border_mode_ = mode;
  int* f = border_flags_;
  auto set_only = [f](std::initializer_list<int> on) {
    std::fill(f, f + kBorderCount, 0);
    for (int i : on) f[i] = 1;
  };
  switch (mode) {
    case 0: set_only({}); break;
    case 1: set_only({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}); break;
    case 2: set_only({0, 1, 2}); break;
    case 3: set_only({3, 4, 5, 6, 7, 8, 9}); break;
    case 4: set_only({1, 2, 5, 6}); break;
    case 5: set_only({0, 1, 3, 4}); break;
    case 6: set_only({0, 7, 8}); break;
    case 7: set_only({0, 1, 2, 3, 4, 5, 6, 9}); break;
    case 8: set_only({0, 1, 3, 4, 7, 8, 9}); break;
    case 9: std::fill(f, f + 7, 0); break;
  }
  ApplyReset(kResetBorder);
}

void CWpKit::CopyResetSettings(const CWpKit* from, ResetKind kind) {
  switch (kind) {
    case kResetTitle:
      title_scope_ = from->title_scope_;
      border_mode_ = from->border_mode_;
      title_visible_ = from->title_visible_;
      for (int i : {2, 5, 6}) border_flags_[i] = from->border_flags_[i];
      break;
    case kResetBorder:
      border_scope_ = from->border_scope_;
      border_mode_ = from->border_mode_;
      std::copy(std::begin(from->border_flags_), std::end(from->border_flags_), border_flags_);
      break;
    case kResetBorderPen:
      border_line_scope_ = from->border_line_scope_;
      border_pen_ = from->border_pen_;
      break;
  }
}

void CWpKit::AppRst(const CWpKit* from, ResetKind kind, bool same_class_only,
                    const std::string& class_name) {
  if (this != from && (!same_class_only || EqualsNoCase(class_name_, class_name)))
    CopyResetSettings(from, kind);
  if (title_visible_) ResetClient();
  for (CWpKit* c : children_) c->AppRst(from, kind, same_class_only, class_name);
}

void CWpKit::ApplyReset(ResetKind kind) {
  const int scope = kind == kResetTitle ? title_scope_
                    : kind == kResetBorder ? border_scope_
                                           : border_line_scope_;
  if (scope == 0 || !parent_) return;
  CWpKit* root = GetAncestor();
  if (scope == 2 && root != this) root->CopyResetSettings(this, kind);
  root->AppRst(this, kind, scope == 1, class_name_);
}

void CWpKit::ApplyStyle() {
  CWpWell* well = GetWell();
  if (!well || well->GetStyle() == -1) return;
  const BorderStyle style = well->GetStyle();
  std::fill(std::begin(border_flags_), std::end(border_flags_), 0);
  if (style == 0) {
    std::fill(std::begin(border_flags_), std::end(border_flags_), 1);
  } else if (style == 1) {
    const int type = GetWpKitType();
    if (type != WPKIT_TRACK && type != WPKIT_CURVE)
      for (int i : {0, 7, 8, 9}) border_flags_[i] = 1;
  }
  for (CWpKit* c : children_) c->ApplyStyle();
}

void CWpKit::SetStyle(BorderStyle style, bool apply) {
  if (style == style_) return;
  style_ = style;
  if (apply) {
    border_flags_[0] = 1;
    if (style == 0) {
      std::fill(border_flags_ + 1, border_flags_ + kBorderCount, 1);
    } else if (style == 1) {
      std::fill(border_flags_ + 1, border_flags_ + 9, 0);
      border_flags_[9] = 1;
    } else if (style == 2) {
      std::fill(border_flags_ + 1, border_flags_ + kBorderCount, 0);
    }
  }
  for (CWpKit* c : children_) c->SetStyle(style, apply);
}

BorderStyle CWpKit::GetStyle() {
  const int* f = border_flags_;
  auto all_but = [f](std::initializer_list<int> off) {
    for (int i = 0; i < kBorderCount; ++i) {
      bool want = std::find(off.begin(), off.end(), i) == off.end();
      if ((f[i] != 0) != want) return false;
    }
    return true;
  };
  auto only = [f](std::initializer_list<int> on) {
    for (int i = 0; i < kBorderCount; ++i) {
      bool want = std::find(on.begin(), on.end(), i) != on.end();
      if ((f[i] != 0) != want) return false;
    }
    return true;
  };
  if (all_but({}) || all_but({3, 4}) || all_but({3}))
    style_ = 0;
  else if (only({0, 9}))
    style_ = 1;
  else if (only({0}))
    style_ = 2;
  else
    style_ = -1;
  return style_;
}

}  // namespace davodu
