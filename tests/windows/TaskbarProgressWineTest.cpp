// Long work on the taskbar button: what the taskbar's object is asked, the flash when long work ends behind
// another window, and nothing at all where the system has no such object. The real window over the real object
// is the end-to-end junk run's, whose scan shows busy and whose deletion of thousands of files shows the share done.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/win32/TaskbarProgress.h"

using namespace cc;
using S = WorkProgress::State;

namespace {
#define CC_UNUSED(method, ...) HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) override { return E_NOTIMPL; }
struct RecordingTaskbar final : ITaskbarList3 {
    std::string log;
    HWND window = nullptr;
    ULONG refs = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE SetProgressValue(HWND hwnd, ULONGLONG done, ULONGLONG total) override {
        log += (hwnd == window ? "" : "?") + std::to_string(done) + "/" + std::to_string(total) + " ";
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetProgressState(HWND hwnd, TBPFLAG state) override {
        log += (hwnd == window ? "" : "?") + std::string(state == TBPF_INDETERMINATE ? "busy " : state == TBPF_NOPROGRESS ? "none " : "other ");
        return S_OK;
    }
    CC_UNUSED(HrInit) CC_UNUSED(AddTab, HWND) CC_UNUSED(DeleteTab, HWND) CC_UNUSED(ActivateTab, HWND) CC_UNUSED(SetActiveAlt, HWND)
    CC_UNUSED(MarkFullscreenWindow, HWND, BOOL) CC_UNUSED(RegisterTab, HWND, HWND) CC_UNUSED(UnregisterTab, HWND)
    CC_UNUSED(SetTabOrder, HWND, HWND) CC_UNUSED(SetTabActive, HWND, HWND, DWORD) CC_UNUSED(ThumbBarAddButtons, HWND, UINT, LPTHUMBBUTTON)
    CC_UNUSED(ThumbBarUpdateButtons, HWND, UINT, LPTHUMBBUTTON) CC_UNUSED(ThumbBarSetImageList, HWND, HIMAGELIST)
    CC_UNUSED(SetOverlayIcon, HWND, HICON, LPCWSTR) CC_UNUSED(SetThumbnailTooltip, HWND, LPCWSTR) CC_UNUSED(SetThumbnailClip, HWND, RECT*)
} gTaskbar;
// The flash itself, wherever it is asked for: this program's import of FlashWindowEx, pointed here.
BOOL WINAPI RecordFlash(PFLASHWINFO f) {
    gTaskbar.log += f->hwnd == gTaskbar.window && f->dwFlags == FLASHW_TRAY && f->uCount == 1 ? "flash " : "other flash ";
    return TRUE;
}
void RedirectImport(const char* name, void* to) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
         dll->Name; ++dll)
        for (auto *names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk),
                  *slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk); names->u1.AddressOfData; ++names, ++slots)
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) &&
                !strcmp(reinterpret_cast<const char*>(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name), name)) {
                DWORD was;
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &was);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(to);
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, was, &was);
            }
}
ComPtr<ITaskbarList3> ConnectRecording() {
    ComPtr<ITaskbarList3> taskbar;
    gTaskbar.AddRef(), gTaskbar.log += "connect ";
    *taskbar.put() = &gTaskbar;
    return taskbar;
}

}  // namespace
TEST(TaskbarProgressWine, ShowsWorkOnTheButtonFlashesWhenLongWorkEndsBehindAnotherWindowAndIsQuietWithoutTheObject) {
    auto top = [](const wchar_t* t) { return CreateWindowExW(0, L"STATIC", t, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, 0, 0, 0, 0); };
    const TaskbarProgress::Connect connectNothing = [] { return ComPtr<ITaskbarList3>{}; };
    HWND other = top(L"other"), window = gTaskbar.window = top(L"work");
    const std::string shown = "connect busy 1/4 4/4 none ";
    RedirectImport("FlashWindowEx", reinterpret_cast<void*>(RecordFlash));
    struct Case { TaskbarProgress::Connect connect; HWND inFront; DWORD endsAt; std::string log; bool flashed; };   // endsAt: ms after the start
    for (const Case& c : {Case{ConnectRecording, window, 5000, shown, false}, Case{ConnectRecording, other, kLongWorkMs - 1, shown, false},
                          Case{ConnectRecording, other, kLongWorkMs, shown + "flash ", true}, Case{connectNothing, other, 5000, "", false}}) {
        SetForegroundWindow(c.inFront);
        ASSERT_EQ(GetForegroundWindow(), c.inFront);
        gTaskbar.log.clear();
        TaskbarProgress progress(c.connect);
        const DWORD start = 0xFFFFF000;   // the tick count wraps on the way
        for (WorkProgress step : {WorkProgress{S::Busy}, WorkProgress{S::Busy}, WorkProgress{S::Share, 1, 4}, WorkProgress{S::Share, 4, 4}}) {
            EXPECT_FALSE(progress.show(window, step, start));
            EXPECT_EQ(progress.shown(), step);
        }
        EXPECT_EQ(progress.show(window, {}, start + c.endsAt), c.flashed) << c.endsAt;
        EXPECT_EQ(progress.shown(), WorkProgress{});
        EXPECT_EQ(gTaskbar.log, c.log);
        EXPECT_EQ(gTaskbar.refs, 0u);   // let go at the end: the next work connects afresh
    }
    DestroyWindow(window), DestroyWindow(other);
}
