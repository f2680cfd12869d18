// morvel-host.exe: the browser's native messaging host. It takes one message from the
// extension on its standard input, hands the selection to the search bar through Pelka.dll
// beside it (loaded by path, used without registration), answers and ends. It never shows a
// window or a message box: every failure is an answer.
#include <windows.h>

#include <memory>
#include <string>

#include "bridge/ivantu.h"
#include "host/host_logic.h"
#include "platform/handles.h"
#include "protocol/bar_protocol.h"

namespace {

using host::Status;

// The browser writes the message as soon as it starts the host; a sender that stops halfway
// gets an answer after this long instead of a host that waits for ever.
constexpr DWORD kReadTimeoutMs = 10000;

constexpr wchar_t kBarClass[] = L"" MORVEL_BAR_CLASS;
constexpr wchar_t kBarTitle[] = L"" MORVEL_TITLE;

// The directory of this program with its trailing backslash (empty when it is not known).
std::wstring OwnDirectory() {
    std::wstring path(32768, L'\0');
    const DWORD len = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (len == 0 || len >= path.size()) return std::wstring();
    path.resize(len);
    const size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HWND FindBar() {
    return FindWindowW(kBarClass, kBarTitle);
}

// SetKeyword, then SetForeground, as the old browser's script called them; checked before
// each call so that the bridge never comes to its own message box.
Status Forward(const std::u16string& keyword) {
    const std::wstring dir = OwnDirectory();
    const std::wstring bridgePath = dir + L"Pelka.dll";
    if (dir.empty() || !FileExists(bridgePath)) return Status::kBridgeMissing;
    if (!FindBar() && !FileExists(dir + L"vantu.exe")) return Status::kProgramMissing;

    ComApartment apartment;
    apartment.Enter(); // a thread already in an apartment goes on in it
    UniqueModule bridge(LoadLibraryExW(bridgePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!bridge) return Status::kBridgeFailed;
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(bridge.get(), "DllGetClassObject")));
    if (!getClassObject) return Status::kBridgeFailed;
    Status result = Status::kBridgeFailed;
    {
        ComRef<IClassFactory> factory;
        if (FAILED(getClassObject(pelka::kClsidVantu, IID_IClassFactory, factory.put_void())))
            return Status::kBridgeFailed;
        ComRef<IVantu> vantu;
        if (FAILED(factory->CreateInstance(nullptr, pelka::kIidVantu, vantu.put_void())) ||
            !vantu.get())
            return Status::kBridgeFailed;
        UniqueBstr text(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(keyword.data()),
                                          static_cast<UINT>(keyword.size())));
        if (!text.get()) return Status::kBridgeFailed;
        vantu->SetKeyword(text.get()); // starts the program, hidden, when it is not running
        if (HWND bar = FindBar()) {
            // The browser gave this process the right to take the foreground; the bar needs
            // it for itself when it brings itself to the front.
            DWORD pid = 0;
            GetWindowThreadProcessId(bar, &pid);
            if (pid) AllowSetForegroundWindow(pid);
            vantu->SetForeground();
            result = Status::kOk;
        } else {
            result = Status::kBarNotFound;
        }
    }
    return result;
}

long ReadHandle(void* context, unsigned char* buffer, size_t size) {
    const DWORD ask = size > 65536 ? 65536 : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(context), buffer, ask, &got, nullptr))
        return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    return static_cast<long>(got);
}

// What the reading thread hands back. It is left behind, not freed, when the thread is still
// blocked in its read at the time limit: the process ends right after.
struct PendingRead {
    HANDLE input;
    std::string body;
    Status status = Status::kReadFailed;
};

DWORD WINAPI ReadThread(void* param) {
    auto* pending = static_cast<PendingRead*>(param);
    pending->status = host::ReadFrame(ReadHandle, pending->input, pending->body);
    return 0;
}

bool WriteAll(HANDLE output, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        if (!WriteFile(output, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote,
                       nullptr) ||
            wrote == 0)
            return false;
        done += wrote;
    }
    return true;
}

Status Run(HANDLE input) {
    auto pending = std::make_unique<PendingRead>(PendingRead{input, std::string()});
    UniqueKernelHandle thread(CreateThread(nullptr, 0, ReadThread, pending.get(), 0, nullptr));
    if (!thread) return Status::kReadFailed;
    if (WaitForSingleObject(thread.get(), kReadTimeoutMs) != WAIT_OBJECT_0) {
        pending.release(); // stays with the blocked thread
        return Status::kTimedOut;
    }
    const Status read = pending->status;
    std::string body;
    body.swap(pending->body);
    pending.reset();
    if (read != Status::kOk) return read;
    std::u16string keyword;
    const Status parsed = host::KeywordFromMessage(body.data(), body.size(), keyword);
    if (parsed != Status::kOk) return parsed;
    return Forward(keyword);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // No system error boxes either: a library that fails to load is an answer.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const Status status = Run(GetStdHandle(STD_INPUT_HANDLE));
    const bool answered =
        WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), host::EncodeFrame(host::AnswerJson(status)));
    // ExitProcess also ends a reading thread that is still blocked.
    ExitProcess(status == Status::kOk && answered ? 0 : 1);
}
