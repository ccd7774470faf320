#include "platform/locks_win32.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "platform/handle_win32.h"

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
  // Only a name with "~" can be a short (8.3) alias of another: asking for long names costs more than the rest.
  if (full.find(L'~') == std::wstring::npos) return full;
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

// A well-known SID of one or two sub-authorities.
struct WellKnownSid {
  BYTE revision, count;
  SID_IDENTIFIER_AUTHORITY authority;
  DWORD sub[2];
};

// An access control list of entries that each hold a type, a mask and a SID, laid out as Windows reads it (an
// allowed-access entry and an integrity label entry have the same layout).
class AccessList {
 public:
  void Add(BYTE type, ACCESS_MASK mask, const WellKnownSid& sid) {
    const DWORD sidLength = 8 + 4 * sid.count;
    const ACE_HEADER header{type, 0, static_cast<WORD>(sizeof header + sizeof mask + sidLength)};
    std::memcpy(bytes_ + size_, &header, sizeof header);
    std::memcpy(bytes_ + size_ + sizeof header, &mask, sizeof mask);
    std::memcpy(bytes_ + size_ + sizeof header + sizeof mask, &sid, sidLength);
    size_ = static_cast<WORD>(size_ + header.AceSize);
    const ACL acl{ACL_REVISION, 0, size_, ++count_, 0};
    std::memcpy(bytes_, &acl, sizeof acl);
  }
  PACL Get() { return reinterpret_cast<PACL>(bytes_); }

 private:
  alignas(DWORD) BYTE bytes_[128]{};
  WORD size_ = sizeof(ACL), count_ = 0;
};

// Every run on the machine must reach the same mutex, whichever user or integrity level made it first: an
// installer running as SYSTEM or elevated, and a user at the Run dialog. Authenticated users may wait on it and
// release it; SYSTEM and administrators may do all; its low integrity label lets a run of any level open it.
// The descriptor is laid out here rather than made by advapi32, whose loading would cost an unattended run more
// than the rest of its change.
class LockSecurity {
 public:
  LockSecurity() {
    constexpr WellKnownSid users{SID_REVISION, 1, SECURITY_NT_AUTHORITY, {SECURITY_AUTHENTICATED_USER_RID}},
        system{SID_REVISION, 1, SECURITY_NT_AUTHORITY, {SECURITY_LOCAL_SYSTEM_RID}},
        admins{SID_REVISION, 2, SECURITY_NT_AUTHORITY, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS}},
        low{SID_REVISION, 1, SECURITY_MANDATORY_LABEL_AUTHORITY, {SECURITY_MANDATORY_LOW_RID}};
    dacl_.Add(ACCESS_ALLOWED_ACE_TYPE, SYNCHRONIZE | MUTEX_MODIFY_STATE, users);
    dacl_.Add(ACCESS_ALLOWED_ACE_TYPE, MUTEX_ALL_ACCESS, system);
    dacl_.Add(ACCESS_ALLOWED_ACE_TYPE, MUTEX_ALL_ACCESS, admins);
    sacl_.Add(SYSTEM_MANDATORY_LABEL_ACE_TYPE, SYSTEM_MANDATORY_LABEL_NO_WRITE_UP, low);
    descriptor_ = {
        SECURITY_DESCRIPTOR_REVISION, 0, SE_DACL_PRESENT | SE_SACL_PRESENT, nullptr, nullptr, sacl_.Get(), dacl_.Get()};
  }
  SECURITY_ATTRIBUTES* Attributes() { return &attributes_; }

 private:
  AccessList dacl_, sacl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{sizeof attributes_, &descriptor_, FALSE};
};

UniqueKernelHandle OpenLockMutex(const std::wstring& name) {
  LockSecurity security;
  UniqueKernelHandle mutex(CreateMutexW(security.Attributes(), FALSE, name.c_str()));
  // Made by a run with more rights: this one may still wait on it and release it.
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
    case LockKind::Registration:
      kindName = L"reg";
      canonical = Upper(CanonicalFile(target));
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
