// The reading half of DialogFromTemplate on arbitrary bytes: a template may
// come from an archive on disk. What it reads must build the same template
// again.

#include <cstddef>
#include <cstdint>

#include "Core/Graph/CDynDlgTemplate.h"
#include "Core/Graph/DialogTemplateReader.h"
#include "Core/Graph/WideText.h"

using namespace zam::graph;

namespace {

bool SameItems(const DlgTemplateInfo& a, const DlgTemplateInfo& b) {
    if (a.Items.size() != b.Items.size()) return false;
    for (size_t i = 0; i < a.Items.size(); ++i) {
        const DlgTemplateItem& x = a.Items[i];
        const DlgTemplateItem& y = b.Items[i];
        if (x.Style != y.Style || x.ExStyle != y.ExStyle || x.X != y.X || x.Y != y.Y || x.Cx != y.Cx ||
            x.Cy != y.Cy || x.Id != y.Id || x.ClassName != y.ClassName || x.Title != y.Title ||
            x.Data != y.Data)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DlgTemplateInfo info;
    const int read = ReadDialogTemplate(data, size, info);
    if (read != 1) {
        if (read > -1 || read < -5) __builtin_trap();
        return 0;
    }
    CDynDlgTemplate t;
    t.SetHeader(info.Style, info.ExStyle, info.X, info.Y, info.Cx, info.Cy);
    t.SetMenu(WideFromNarrow(info.Menu.c_str()).c_str());
    t.SetClass(WideFromNarrow(info.WindowClass.c_str()).c_str());
    t.SetCaption(info.Caption.c_str());
    if (info.HasFont && info.FaceName.empty()) return 0;  // no face: nothing our setter makes
    if (info.HasFont) t.SetFont(info.PointSize, info.FaceName.c_str());
    for (const DlgTemplateItem& item : info.Items) {
        if (!t.AddItem(item.X, item.Y, item.Cx, item.Cy, item.Id, item.Style, item.ClassName.c_str(),
                       item.Title.c_str(), static_cast<int>(item.Data.size()), item.Data.data(), item.ExStyle))
            return 0;  // an empty class name is read but never built
    }
    const void* built = t.GetTemplate();
    DlgTemplateInfo again;
    if (ReadDialogTemplate(built, static_cast<size_t>(t.GetSize()), again) != 1) __builtin_trap();
    if (again.Caption != info.Caption || again.Menu != info.Menu || again.FaceName != info.FaceName ||
        again.PointSize != info.PointSize || !SameItems(info, again))
        __builtin_trap();
    return 0;
}
