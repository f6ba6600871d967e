#pragma once

// The main dialog's template: its caption, its size and its controls, in dialog units. The controls
// are listed in creation order, which is also their tab order.

#include <array>

#include "ui/dialog_units.h"
#include "ui/resource.h"

namespace ambersel::ui {

enum class ControlKind {
    DefaultPushButton,  // pressed by Enter wherever the focus is not on another button
    PushButton,
    CentredText,   // one line of static text, centred
    ReadOnlyEdit,  // a text field that shows its text but cannot be typed into
};

struct DialogItem {
    const char* id;  // the control's object name, the resource identifier's name
    ControlKind kind;
    const char* text;  // shown exactly: no character of it becomes a mnemonic
    DialogRect rect;
};

inline constexpr const char* kTestDialogCaption = "Ambersel Test Calculator (R&S file format)";
inline constexpr DialogSize kTestDialogSize{320, 71};

// clang-format off
inline constexpr std::array<DialogItem, 5> kTestDialogItems{{
    // id          kind                            text         x    y    w    h
    {IDOK,         ControlKind::DefaultPushButton, "Calculate", {263, 48,  50, 16}},
    {IDCANCEL,     ControlKind::PushButton,        "Cancel",    {  7, 48,  50, 16}},
    {IDC_RESULT,   ControlKind::CentredText,       "",          {  7, 33, 306,  8}},
    {IDC_BROWSE,   ControlKind::PushButton,        "File",      {  9,  9,  50, 14}},
    {IDC_FILEPATH, ControlKind::ReadOnlyEdit,      "",          { 64,  9, 249, 14}},
}};
// clang-format on

}  // namespace ambersel::ui
