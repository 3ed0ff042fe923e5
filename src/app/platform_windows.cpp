// The platform layer on Windows: wide-character Win32 calls, with the
// program's UTF-8 paths converted at this boundary and nowhere else.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h:
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/platform.hpp"

namespace verilote::platform {

namespace fs = std::filesystem;

namespace {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Open(const std::string& path, DWORD access, DWORD disposition, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  return CreateFileW(Wide(path).c_str(), access, kShareAll, nullptr, disposition, flags, nullptr);
}

// The system's reason in the words the C library uses for the same cause, so
// that messages read alike on every system.
std::string Reason(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return "No such file or directory";
    case ERROR_ACCESS_DENIED:
      return "Permission denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "the file is open in another program; close it and try again";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return "File exists";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "No space left on device";
    case ERROR_WRITE_PROTECT:
      return "Read-only file system";
    case ERROR_DIRECTORY:
      return "Not a directory";
    default:
      return "Windows error " + std::to_string(code);
  }
}

}  // namespace

SystemError LastError() { return {static_cast<int>(GetLastError())}; }

bool IsAlreadyExists(SystemError error) {
  return error.code == ERROR_FILE_EXISTS || error.code == ERROR_ALREADY_EXISTS;
}

bool IsHeldElsewhere(SystemError error) {
  return error.code == ERROR_SHARING_VIOLATION || error.code == ERROR_LOCK_VIOLATION;
}

FileError Failure(std::string_view path, std::string_view action, SystemError error) {
  return FileError(path, std::string(action) + " (" + Reason(static_cast<DWORD>(error.code)) + ")");
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return {argv, argv + argc};
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return args;
}

std::string ProgramDirectory() {
  std::wstring exe(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
  if (n == 0 || n >= exe.size()) return ".";
  exe.resize(n);
  return Utf8Of(fs::path(exe).parent_path());
}

std::string UserDataDirectory() {
  if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local != nullptr && local[0] != L'\0')
    return Utf8(local) + "\\Verilote";
  if (const wchar_t* profile = _wgetenv(L"USERPROFILE"); profile != nullptr && profile[0] != L'\0')
    return Utf8(profile) + "\\AppData\\Local\\Verilote";
  throw FileError("%LOCALAPPDATA%\\Verilote", "no user profile to keep the user's files in");
}

bool IsWritableDirectory(const std::string& path) {
  // Access rights on Windows are lists only the system can weigh: try.
  const std::string probe = path + "\\.~vlprobe" + std::to_string(GetCurrentProcessId());
  const HANDLE h = Open(probe, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

std::uint64_t ProcessId() { return GetCurrentProcessId(); }

bool ProcessGone(std::uint64_t pid) {
  if (pid == 0 || pid > 0xFFFFFFFFu) return false;
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
  DWORD status = 0;
  const bool gone = GetExitCodeProcess(process, &status) && status != STILL_ACTIVE;
  CloseHandle(process);
  return gone;
}

std::tm LocalTime(std::time_t when) {
  std::tm local{};
  localtime_s(&local, &when);
  return local;
}

namespace {

// Devices (NUL, CON, COM1, pipes) are not files on disk.
Kind KindOfHandle(HANDLE h, BY_HANDLE_FILE_INFORMATION* info) {
  if (GetFileType(h) != FILE_TYPE_DISK) return Kind::Other;
  BY_HANDLE_FILE_INFORMATION local{};
  if (info == nullptr) info = &local;
  if (!GetFileInformationByHandle(h, info)) return Kind::Other;
  return (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Directory : Kind::Regular;
}

// Opens `path` only to look at it (FILE_FLAG_BACKUP_SEMANTICS lets a directory open).
HANDLE OpenToInspect(const std::string& path) { return Open(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS); }

}  // namespace

Kind KindOf(const std::string& path, SystemError* error) {
  const HANDLE h = OpenToInspect(path);
  if (h == INVALID_HANDLE_VALUE) {
    if (error != nullptr) *error = LastError();
    return Kind::Missing;
  }
  const Kind kind = KindOfHandle(h, nullptr);
  CloseHandle(h);
  return kind;
}

namespace {
std::optional<FileIdentity> IdentityOfHandle(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return std::nullopt;
  const auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
  FileIdentity identity{
      info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
      static_cast<std::int64_t>(join(info.nFileSizeHigh, info.nFileSizeLow)),
      static_cast<std::int64_t>(join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)) * 100};
  identity.links = info.nNumberOfLinks;
  FILE_BASIC_INFO basic{};
  if (GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic))
    identity.changed = static_cast<std::int64_t>(basic.ChangeTime.QuadPart) * 100;
  return identity;
}
}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  const HANDLE h = OpenToInspect(path);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  const auto identity = IdentityOfHandle(h);
  CloseHandle(h);
  return identity;
}

bool IsWriteProtected(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  const auto ia = IdentityOf(a), ib = IdentityOf(b);
  if (ia && ib) return ia->SameFile(*ib);
  std::error_code ea, eb;
  const auto ca = fs::weakly_canonical(PathOf(a), ea), cb = fs::weakly_canonical(PathOf(b), eb);
  // Names differing only in case are one file on Windows.
  return !ea && !eb && CompareStringOrdinal(ca.c_str(), -1, cb.c_str(), -1, TRUE) == CSTR_EQUAL;
}

SystemError RemoveFile(const std::string& path) {
  return DeleteFileW(Wide(path).c_str()) ? SystemError{} : LastError();
}

void RemoveFileFromHandler(const char* path) {
  // A console interrupt runs on a thread of its own: converting is safe here.
  wchar_t wide[4096];
  if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, 4096) > 0) DeleteFileW(wide);
}

SystemError MoveIntoPlace(const std::string& from, const std::string& to, File& held) {
  // A plain rename fails when `to` exists; this replaces it in one step.
  // MOVEFILE_WRITE_THROUGH returns once the move is on the disk.
  if (held.IsOpen()) (void)held.Close();
  const std::wstring target = Wide(to);
  if (MoveFileExW(Wide(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return {};
  const SystemError error = LastError();
  // Windows refuses to replace a file that any program holds open, and says
  // "access denied": unless the file is read-only, that is the cause.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (error.code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0)
    return {ERROR_SHARING_VIOLATION};
  return error;
}

std::FILE* TemporaryFile(std::string& folder, SystemError& error) {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  folder = n > 0 && n <= MAX_PATH ? Utf8(std::wstring_view(temp, n)) : ".\\";
  static LONG count = 0;
  const std::string name = folder + "verilote-spool-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(InterlockedIncrement(&count));
  // The system deletes the file when its last handle goes, even when the process is killed.
  const HANDLE h =
      Open(name, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
  if (h == INVALID_HANDLE_VALUE) {
    error = LastError();
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDWR | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    error = {ERROR_TOO_MANY_OPEN_FILES};
    return nullptr;
  }
  std::FILE* stream = _fdopen(fd, "w+b");
  if (stream == nullptr) {
    _close(fd);
    error = {ERROR_TOO_MANY_OPEN_FILES};
  }
  return stream;
}

File::~File() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

File File::CreateNew(const std::string& path, const std::string&, SystemError& error) {
  // Shared for deletion, so that an interrupt can remove the work file while
  // it is open. The permissions come from the folder, as for every new file.
  File file;
  const HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  error = h == INVALID_HANDLE_VALUE ? LastError() : SystemError{};
  if (h != INVALID_HANDLE_VALUE) file.handle_ = h;
  return file;
}

File File::Hold(const std::string& path, SystemError& error) {
  // Asking for writing and sharing none: no other program, and no other run
  // of this one, can open the file for writing while it is held; readers and
  // the final replacement (FILE_SHARE_DELETE) still can.
  File file;
  const HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  error = h == INVALID_HANDLE_VALUE ? LastError() : SystemError{};
  if (h != INVALID_HANDLE_VALUE) file.handle_ = h;
  return file;
}

File File::Duplicate(SystemError& error) const {
  File copy;
  HANDLE h = nullptr;
  const HANDLE self = GetCurrentProcess();
  error = DuplicateHandle(self, handle_, self, &h, 0, FALSE, DUPLICATE_SAME_ACCESS) ? SystemError{} : LastError();
  if (!error) copy.handle_ = h;
  return copy;
}

Kind File::Type() const { return KindOfHandle(handle_, nullptr); }

std::optional<FileIdentity> File::Identity() const { return IdentityOfHandle(handle_); }

// The new file's rights come from its folder, as for every new file; its
// owner is whoever creates it.
SystemError File::TakeOwnerAndModeOf(const std::string&) { return {}; }

File File::OpenExisting(const std::string& path, Access access, Kind& kind, std::uint64_t& size, SystemError& error) {
  File file;
  const DWORD rights = access == Access::Read ? GENERIC_READ : GENERIC_WRITE;
  const HANDLE h = Open(path, rights, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS);
  if (h == INVALID_HANDLE_VALUE) {
    error = LastError();
    kind = Kind::Missing;
    return file;
  }
  file.handle_ = h;
  error = {};
  BY_HANDLE_FILE_INFORMATION info{};
  kind = KindOfHandle(h, &info);
  size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (kind == Kind::Directory) return File();
  if (kind == Kind::Regular && access == Access::Append) {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(h, end, nullptr, FILE_BEGIN)) error = LastError();
  }
  return file;
}

bool File::IsOpen() const { return handle_ != nullptr; }

SystemError File::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
    DWORD written = 0;
    if (!WriteFile(handle_, bytes.data(), chunk, &written, nullptr)) return LastError();
    if (written == 0) return {ERROR_DISK_FULL};
    bytes.remove_prefix(written);
  }
  return {};
}

SystemError File::ReadAt(std::uint64_t offset, char* data, std::size_t size, std::size_t& got) {
  // A positioned read moves the file pointer on Windows: put it back.
  LARGE_INTEGER zero{}, here{};
  if (!SetFilePointerEx(handle_, zero, &here, FILE_CURRENT)) return LastError();
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD n = 0;
  const DWORD want = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
  const bool read = ReadFile(handle_, data, want, &n, &at) || GetLastError() == ERROR_HANDLE_EOF;
  const SystemError error = read ? SystemError{} : LastError();
  got = read ? n : 0;
  if (!SetFilePointerEx(handle_, here, nullptr, FILE_BEGIN) && !error) return LastError();
  return error;
}

SystemError File::Truncate(std::uint64_t size) {
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_)) return LastError();
  return {};
}

SystemError File::Sync() { return FlushFileBuffers(handle_) ? SystemError{} : LastError(); }

SystemError File::Close() {
  const HANDLE h = handle_;
  handle_ = nullptr;
  return CloseHandle(h) ? SystemError{} : LastError();
}

std::FILE* File::ToStdio(SystemError& error) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle_), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    error = {ERROR_TOO_MANY_OPEN_FILES};
    return nullptr;
  }
  handle_ = nullptr;  // the descriptor owns it now
  std::FILE* stream = _fdopen(fd, "rb");
  if (stream == nullptr) {
    error = {ERROR_TOO_MANY_OPEN_FILES};
    _close(fd);
  }
  return stream;
}

void UseBinaryStandardStreams() {
  // Text mode would turn every "\n" into "\r\n" and the report's CR LF into CR CR LF.
  (void)_setmode(_fileno(stdout), _O_BINARY);
  (void)_setmode(_fileno(stderr), _O_BINARY);
}

bool IsTerminal(int stream) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(stream == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), &mode) != 0;
}

namespace {
UINT consoleCodePage = 0;
void RestoreConsoleCodePage() { SetConsoleOutputCP(consoleCodePage); }
}  // namespace

void SetConsoleEncoding(bool utf8) {
  DWORD mode = 0;
  if (!GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) && !GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode))
    return;
  if (consoleCodePage == 0) {
    consoleCodePage = GetConsoleOutputCP();
    std::atexit(RestoreConsoleCodePage);
  }
  SetConsoleOutputCP(utf8 ? CP_UTF8 : 1252);
}

namespace {
void (*interruptCleanup)() = nullptr;

BOOL WINAPI CleanUpOnInterrupt(DWORD) {
  if (interruptCleanup != nullptr) interruptCleanup();
  return FALSE;  // the default handler then ends the process
}
}  // namespace

void OnInterrupt(void (*cleanup)()) {
  interruptCleanup = cleanup;
  SetConsoleCtrlHandler(CleanUpOnInterrupt, TRUE);
}

std::string ExecutablePath() {
  std::wstring exe(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
  if (n == 0 || n >= exe.size()) return {};
  exe.resize(n);
  return Utf8(exe);
}

void OccupyClosedStandardStreams() {
  // The C runtime keeps descriptors 0-2 of a process started without them
  // marked as no console: no file takes their place. The system's standard
  // handles are filled the same way, read-only on NUL.
  for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    const HANDLE current = GetStdHandle(which);
    if (current != nullptr && current != INVALID_HANDLE_VALUE) continue;
    const HANDLE null =
        CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (null != INVALID_HANDLE_VALUE) SetStdHandle(which, null);
  }
}

}  // namespace verilote::platform
