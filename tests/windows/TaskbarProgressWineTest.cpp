// Long work on the taskbar button: what the taskbar's object is asked, the flash when long work ends behind
// another window, and nothing at all where the system has no such object. The real window over the real object
// is the end-to-end junk run's, whose scan shows busy and whose deletion of thousands of files shows the share done.
#include <gtest/gtest.h>

#include "ui/win32/TaskbarProgress.h"

using namespace cc;
using S = WorkProgress::State;

namespace {
#define CC_UNUSED(method, ...) HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) override { return E_NOTIMPL; }
// Writes down what it is asked; nothing else of it is ever used.
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
    const char* shown = "connect busy 1/4 4/4 none ";
    struct Case { TaskbarProgress::Connect connect; HWND inFront; DWORD endsAt; const char* log; bool flashed; };   // endsAt: ms after the start
    for (const Case& c : {Case{ConnectRecording, window, 5000, shown, false}, Case{ConnectRecording, other, kLongWorkMs - 1, shown, false},
                          Case{ConnectRecording, other, kLongWorkMs, shown, true}, Case{connectNothing, other, 5000, "", false}}) {
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
