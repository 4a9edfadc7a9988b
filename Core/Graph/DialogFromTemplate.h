#pragma once
// Turns a built dialog template into a real wx dialog: our stand-in for the
// window system's indirect dialog creation. The template is read back with
// ReadDialogTemplate first, so a truncated or lying template is refused with
// a log line and never read past.
//
// Positions and sizes are dialog units, converted through the dialog's font
// (its own font when the template names one) by the toolkit's dialog-unit
// conversion. Style bits honoured:
//   dialog: caption 0x00C00000, system menu 0x00080000 (with a close box),
//           sizing frame 0x00040000, minimise box 0x00020000, maximise box
//           0x00010000, centred 0x0800, font 0x40;
//   every control: visible 0x10000000 (without it the control is hidden),
//           disabled 0x08000000, border 0x00800000;
//   "Button": push button, default push button 1, check boxes 2/3/5/6,
//           radio buttons 4/9, group box 7 (a frame with its title);
//   "Edit": centre 1, right 2, multi-line 4, upper case 0x8, lower case 0x10,
//           password 0x20, auto-scroll 0x80 (without it a single line takes no
//           more text than it shows), read-only 0x800, digits only 0x2000;
//   "Static": centre 1, right 2;
//   "ComboBox": simple 1, drop-down 2, drop-down list 3, sorted 0x100;
//   "ListBox": sorted 2, multiple selection 8, extended selection 0x800;
//   "SysTreeView32": a CDataTreeCtrl, buttons 1, lines 2, lines at root 4.
// Class names compare without case. A control of any other class is logged
// and skipped; the rest of the dialog still opens. Each control's id is its
// window id, and its title its label.

#include <wx/dialog.h>

#include <cstddef>

#include "Core/Graph/DialogTemplateReader.h"

/// Creates dialog (constructed but not yet created) from size bytes of a
/// built template, with parent as its parent. True when made; false, with a
/// log line, when the template is refused.
bool DialogFromTemplate(wxDialog* dialog, wxWindow* parent, const void* dialogTemplate, size_t size);

namespace zam::graph {

/// Creates one control of a read template on dialog; null (logged) for an
/// unknown class.
wxWindow* ControlFromTemplate(wxDialog* dialog, const DlgTemplateItem& item);

}  // namespace zam::graph
