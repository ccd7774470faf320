// The box probe: a hook DLL that identifies a message box's icon inside the process that shows it.
// Icon handles cannot be read from another process (GetIconInfo fails there, and the null display
// driver keeps no pixels to compare), but the owning process can compare its own handles.
#pragma once

namespace qz::e2e::probe {

inline constexpr char kDllName[] = "e2e_box_probe.dll";
inline constexpr char kHookProc[] = "QzBoxProbeHook";  // a WH_CALLWNDPROC hook procedure
// Sent to the box; the hook answers by setting the property on the box window.
inline constexpr char kMessage[] = "QzBoxProbeIcon";
inline constexpr char kProperty[] = "QzBoxProbeIcon";

// Property values. A standard icon is answered with its resource id (32512 to 32517).
inline constexpr int kNoAnswer = 0;  // GetPropA's result when the hook did not run
inline constexpr int kNoIcon = 1;
inline constexpr int kUnknownIcon = 2;

}  // namespace qz::e2e::probe
