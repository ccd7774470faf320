// The box probe: a hook DLL that identifies a message box's icon inside the process that shows it, where
// the icon's handle can be compared with the standard icons' (icon handles mean nothing in another process).
#pragma once

namespace qz::e2e::probe {

inline constexpr char kDllName[] = "e2e_box_probe.dll";
inline constexpr char kHookProc[] = "QzBoxProbeHook";  // a WH_CALLWNDPROC hook procedure
// Sent to the box; the hook answers by setting the property on the box window: a standard icon's resource
// id (32512 to 32517), or one of the values below.
inline constexpr char kMessage[] = "QzBoxProbeIcon";
inline constexpr char kProperty[] = "QzBoxProbeIcon";
inline constexpr int kNoAnswer = 0;  // GetPropA's result when the hook did not run
inline constexpr int kNoIcon = 1;
inline constexpr int kUnknownIcon = 2;

}  // namespace qz::e2e::probe
