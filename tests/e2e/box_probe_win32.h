// The box probe: a hook DLL that identifies a message box's icon inside the process that shows it, where the
// icon's handle can be compared with the standard icons' (icon handles mean nothing in another process).
#pragma once

namespace qz::e2e::probe {

inline constexpr char kDllName[] = "e2e_box_probe.dll";
inline constexpr char kHookProc[] = "QzBoxProbeHook";  // a WH_CALLWNDPROC hook procedure
// Sent to the box; the hook answers with the property of that name on the box window: a standard icon's
// resource id (32512 to 32517), or one of the values below.
inline constexpr char kMessage[] = "QzBoxProbeIcon", kProperty[] = "QzBoxProbeIcon";
inline constexpr int kNoAnswer = 0, kNoIcon = 1, kUnknownIcon = 2;  // no answer: GetPropA's 0 when the hook did not run

}  // namespace qz::e2e::probe
