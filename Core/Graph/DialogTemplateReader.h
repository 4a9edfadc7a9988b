#pragma once
// Reads a built dialog template back into plain values, checking every size
// and string against the block it came in: a truncated or lying template is
// refused, never read past. The reading half of DialogFromTemplate, kept free
// of the window system so it can be fuzzed and tested without a display.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zam::graph {

/// One control as the template describes it; texts in UTF-8.
struct DlgTemplateItem {
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    int16_t X = 0, Y = 0, Cx = 0, Cy = 0;
    uint16_t Id = 0;
    std::string ClassName;
    std::string Title;
    std::vector<uint8_t> Data;
};

/// The dialog as the template describes it; texts in UTF-8.
struct DlgTemplateInfo {
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    int16_t X = 0, Y = 0, Cx = 0, Cy = 0;
    std::string Menu;
    std::string WindowClass;
    std::string Caption;
    bool HasFont = false;
    int PointSize = 0;
    std::string FaceName;
    std::vector<DlgTemplateItem> Items;
};

/// Reads size bytes at data into info. Returns
///    1  read;
///   -1  no data, or fewer bytes than the 18-byte header;
///   -2  a header string (menu, class, caption, face) or the point size runs
///       past the end or lacks its terminating zero;
///   -3  a control's 18-byte header does not fit in what is left;
///   -4  a control's class name or title runs past the end or lacks its zero;
///   -5  a control's creation data size or bytes run past the end.
/// On failure info holds what was read before the fault (its Items are the
/// complete controls only).
int ReadDialogTemplate(const void* data, size_t size, DlgTemplateInfo& info);

/// A message for a ReadDialogTemplate result, for the log.
const char* DialogTemplateError(int result);

}  // namespace zam::graph
