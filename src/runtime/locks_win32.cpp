#include "runtime/locks_win32.h"

#include <windows.h>
#include <sddl.h>

#include <cstdint>

#include "runtime/handle_win32.h"

namespace qz {

namespace {

std::wstring Widen(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return wide;
}

// Calls fill(buffer, size) as the path functions want it: the length without the terminator, or the size
// needed, or 0 on failure (then empty).
template <typename Fill>
std::wstring PathResult(Fill fill) {
  std::wstring out(MAX_PATH, L'\0');
  for (int tries = 0; tries < 3; ++tries) {
    const DWORD n = fill(out.data(), static_cast<DWORD>(out.size()));
    if (n == 0) return {};
    if (n < out.size()) {
      out.resize(n);
      return out;
    }
    out.resize(n);
  }
  return {};
}

std::wstring LongPath(const std::wstring& path) {
  return PathResult([&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(path.c_str(), buffer, size); });
}

// One spelling per file: full (which also drops trailing dots and blanks, as opening the file does), long
// names for the short (8.3) ones, upper case.
std::wstring CanonicalFile(const std::string& path) {
  const std::wstring wide = Widen(path);
  std::wstring full =
      PathResult([&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(wide.c_str(), size, buffer, nullptr); });
  if (full.empty()) full = wide;
  if (std::wstring longer = LongPath(full); !longer.empty()) {
    full = longer;
  } else if (const auto slash = full.find_last_of(L'\\'); slash != std::wstring::npos && slash > 0) {
    // A file yet to be made: its folder may still be spelt short.
    if (std::wstring folder = LongPath(full.substr(0, slash)); !folder.empty())
      full = folder + (folder.back() == L'\\' ? L"" : L"\\") + full.substr(slash + 1);
  }
  return full;
}

std::wstring Upper(const std::wstring& text) {
  if (text.empty()) return text;
  // LCMapStringW is in kernel32: no user32 for a run that shows nothing.
  const int n = LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  if (n == 0 ||
      !LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()), out.data(), n))
    return text;
  return out;
}

// 64-bit FNV-1a of the UTF-16 bytes: two targets with one digest only make their runs wait for each other.
std::uint64_t Digest(const std::wstring& text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const wchar_t c : text)
    for (const unsigned byte : {static_cast<unsigned>(c) & 0xFFu, static_cast<unsigned>(c) >> 8}) {
      hash ^= byte;
      hash *= 0x100000001b3ull;
    }
  return hash;
}

class HeldMutex : public Locks::Held {
 public:
  explicit HeldMutex(UniqueKernelHandle mutex) : mutex_(std::move(mutex)) {}
  ~HeldMutex() override { ReleaseMutex(mutex_.get()); }

 private:
  UniqueKernelHandle mutex_;
};

// Every run on the machine must reach the same mutex, whichever user or integrity level made it first: an
// installer running as SYSTEM or elevated, and a user at the Run dialog.
UniqueKernelHandle OpenLockMutex(const std::wstring& name) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, FALSE};
  if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;GA;;;AU)(A;;GA;;;SY)(A;;GA;;;BA)S:(ML;;NW;;;LW)",
                                                           SDDL_REVISION_1, &descriptor, nullptr))
    security.lpSecurityDescriptor = descriptor;
  UniqueKernelHandle mutex(CreateMutexW(descriptor ? &security : nullptr, FALSE, name.c_str()));
  if (descriptor) LocalFree(descriptor);
  if (!mutex && GetLastError() == ERROR_ACCESS_DENIED)
    mutex.reset(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
  return mutex;
}

}  // namespace

std::wstring LockName(LockKind kind, const std::string& target) {
  std::wstring canonical;
  const wchar_t* kindName = L"file";
  switch (kind) {
    case LockKind::File: canonical = Upper(CanonicalFile(target)); break;
    case LockKind::MachineVariable:
      kindName = L"hklm";
      canonical = L"HKLM\\" + Upper(Widen(target));
      break;
    case LockKind::UserVariable:
      kindName = L"hkcu";
      canonical = L"HKCU\\" + Upper(Widen(target));
      break;
  }
  std::wstring digest(16, L'0');
  std::uint64_t hash = Digest(canonical);
  for (auto it = digest.rbegin(); it != digest.rend(); ++it, hash >>= 4) *it = L"0123456789abcdef"[hash & 0xF];
  return std::wstring(L"Global\\QZCL-") + kindName + L"-" + digest;
}

LockWait Win32Locks::Acquire(LockKind kind, const std::string& target, int timeoutMs, std::unique_ptr<Held>& held) {
  held.reset();
  UniqueKernelHandle mutex = OpenLockMutex(LockName(kind, target));
  if (!mutex) return LockWait::Failed;
  switch (WaitForSingleObject(mutex.get(), timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs))) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its holder was killed mid-change: the target is the old file or the new one
      held = std::make_unique<HeldMutex>(std::move(mutex));
      return LockWait::Held;
    case WAIT_TIMEOUT: return LockWait::Busy;
    default: return LockWait::Failed;
  }
}

}  // namespace qz
