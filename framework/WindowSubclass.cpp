#include "framework/WindowSubclass.h"

#include <algorithm>
#include <vector>

#include "framework/Controls.h"
#include "framework/Handles.h"

namespace vx {

namespace {

const wchar_t kChainProperty[] = L"VxSubclassChain";
int g_chainCount = 0;

LRESULT CALLBACK ChainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace

// The objects in front of one window, bottom (attached first) to top, and the
// procedure the window had before them. Entries of objects that left while a message
// was being handled stay as empty slots until no message of the window is under way,
// so positions of running handlers stay valid.
class TSubclassChain {
public:
    TSubclassChain(HWND window, bool unicode)
        : window_(window),
          unicode_(unicode),
          original_(reinterpret_cast<WNDPROC>(unicode ? ::GetWindowLongPtrW(window, GWLP_WNDPROC)
                                                      : ::GetWindowLongPtrA(window, GWLP_WNDPROC))) {
        ++g_chainCount;
    }
    ~TSubclassChain() { --g_chainCount; }

    static TSubclassChain* Of(HWND window) { return static_cast<TSubclassChain*>(::GetPropW(window, kChainProperty)); }

    static TSubclassChain* Install(HWND window) {
        const bool unicode = ::IsWindowUnicode(window) != FALSE;
        auto* chain = new TSubclassChain(window, unicode);
        if (!::SetPropW(window, kChainProperty, chain)) {
            delete chain;
            return nullptr;
        }
        if (unicode) ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc));
        else ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc));
        return chain;
    }

    void Add(TWindowSubclass* s) {
        s->chain_ = this;
        s->index_ = entries_.size();
        s->attached_ = true;
        entries_.push_back(s);
    }

    // Takes an object out. With no message under way the chain tidies up at once (and
    // may go away); otherwise the slot is emptied and tidied after the last message.
    void Remove(TWindowSubclass* s) {
        if (s->index_ < entries_.size() && entries_[s->index_] == s) entries_[s->index_] = nullptr;
        s->attached_ = false;
        leaving_.push_back(s);
        if (depth_ == 0) Tidy();
    }

    // An object being freed: it must not be reached by a running dispatch either.
    void Forget(TWindowSubclass* s) {
        if (s->index_ < entries_.size() && entries_[s->index_] == s) entries_[s->index_] = nullptr;
        for (TFrame& f : frames_)
            if (f.Object == s) f.Object = nullptr;
        leaving_.erase(std::remove(leaving_.begin(), leaving_.end(), s), leaving_.end());
        s->attached_ = false;
        s->chain_ = nullptr;
        if (depth_ == 0) Tidy();
    }

    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
        ++depth_;
        LRESULT result = 0;
        try {
            result = DispatchBelow(entries_.size(), msg, wParam, lParam);
        } catch (...) {
            // Nothing may leave a window procedure by an exception; a failing handler
            // answers 0.
        }
        --depth_;
        if (msg == WM_NCDESTROY) {
            // The window is gone: nobody is attached any more, though handlers still
            // under way may pass their message on.
            destroyed_ = true;
            for (TWindowSubclass* s : entries_)
                if (s) s->attached_ = false;
        }
        if (depth_ == 0) Tidy();  // may delete this chain
        return result;
    }

    // Runs the message from the first live object below position `limit` down to the
    // old procedure.
    LRESULT DispatchBelow(size_t limit, UINT msg, WPARAM wParam, LPARAM lParam) {
        size_t i = std::min(limit, entries_.size());
        while (i > 0) {
            --i;
            if (TWindowSubclass* s = entries_[i]) {
                frames_.push_back({s, i});
                TScopeExit pop([this] { frames_.pop_back(); });
                return s->WindowProc(msg, wParam, lParam);
            }
        }
        return unicode_ ? ::CallWindowProcW(original_, window_, msg, wParam, lParam)
                        : ::CallWindowProcA(original_, window_, msg, wParam, lParam);
    }

    // From a handler: the position of the running call of `s` (the innermost one).
    LRESULT CallBelow(TWindowSubclass* s, UINT msg, WPARAM wParam, LPARAM lParam) {
        for (auto it = frames_.rbegin(); it != frames_.rend(); ++it)
            if (it->Object == s) return DispatchBelow(it->Index, msg, wParam, lParam);
        return DispatchBelow(s->attached_ ? s->index_ : entries_.size(), msg, wParam, lParam);
    }

private:
    struct TFrame {
        TWindowSubclass* Object;
        size_t Index;
    };

    bool OnTop() const {
        const LONG_PTR proc = unicode_ ? ::GetWindowLongPtrW(window_, GWLP_WNDPROC) : ::GetWindowLongPtrA(window_, GWLP_WNDPROC);
        return proc == reinterpret_cast<LONG_PTR>(&ChainProc);
    }

    void Tidy() {
        for (TWindowSubclass* s : leaving_) s->chain_ = nullptr;
        leaving_.clear();
        if (destroyed_) {
            // The window is gone: every object is detached and the chain goes.
            for (TWindowSubclass* s : entries_)
                if (s) {
                    s->attached_ = false;
                    s->chain_ = nullptr;
                }
            entries_.clear();
            ::RemovePropW(window_, kChainProperty);
            delete this;
            return;
        }
        entries_.erase(std::remove(entries_.begin(), entries_.end(), nullptr), entries_.end());
        for (size_t i = 0; i < entries_.size(); ++i) entries_[i]->index_ = i;
        if (entries_.empty() && OnTop()) {
            if (unicode_) ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
            else ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
            ::RemovePropW(window_, kChainProperty);
            delete this;
        }
    }

    HWND window_;
    bool unicode_;
    WNDPROC original_;
    std::vector<TWindowSubclass*> entries_;
    std::vector<TWindowSubclass*> leaving_;
    std::vector<TFrame> frames_;
    int depth_ = 0;
    bool destroyed_ = false;
};

namespace {

LRESULT CALLBACK ChainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TSubclassChain* chain = TSubclassChain::Of(window);
    if (!chain) return ::DefWindowProcW(window, msg, wParam, lParam);
    return chain->Dispatch(msg, wParam, lParam);
}

}  // namespace

TWindowSubclass::~TWindowSubclass() {
    if (chain_) chain_->Forget(this);
}

bool TWindowSubclass::Attach(HWND window) {
    if (attached_ || chain_) return false;
    if (!::IsWindow(window) || ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) return false;
    TSubclassChain* chain = TSubclassChain::Of(window);
    if (!chain) chain = TSubclassChain::Install(window);
    if (!chain) return false;
    window_ = window;
    chain->Add(this);
    return true;
}

void TWindowSubclass::Detach() {
    if (attached_ && chain_) chain_->Remove(this);
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!chain_) return ::DefWindowProcW(window_, msg, wParam, lParam);
    return chain_->CallBelow(this, msg, wParam, lParam);
}

LRESULT TWindowSubclass::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (handler_) return handler_(*this, msg, wParam, lParam);
    return CallPrevious(msg, wParam, lParam);
}

int TWindowSubclass::ChainCount() { return g_chainCount; }

// --- TMessageHook ---------------------------------------------------------------------------

void TMessageHook::TFunctor::operator()(TMessage& m) const {
    std::shared_ptr<TLink> link = Link;  // the hook may be removed while the handler runs
    if (link->Live && link->Handler) {
        THandler handler = link->Handler;  // stays whole if the hook is removed meanwhile
        handler(m, link->Previous);
    } else if (link->Previous) {
        link->Previous(m);
    }
}

void TMessageHook::Install(TControl* control, THandler handler) {
    Remove();
    if (!control) return;
    link_ = std::make_shared<TLink>();
    link_->Handler = std::move(handler);
    link_->Previous = control->WindowProc;
    control_ = control;
    control->WindowProc = TFunctor{link_};
}

void TMessageHook::Remove() {
    if (!link_) return;
    const TFunctor* top = control_->WindowProc.target<TFunctor>();
    if (top && top->Link == link_) {
        control_->WindowProc = link_->Previous;
    } else {
        // Something was installed in front later: stay as a pass-through.
        link_->Live = false;
        link_->Handler = nullptr;
    }
    link_.reset();
    control_ = nullptr;
}

void TMessageHook::CallPrevious(TMessage& m) {
    if (link_ && link_->Previous) link_->Previous(m);
}

}  // namespace vx
