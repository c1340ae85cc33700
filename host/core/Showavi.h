#pragma once

// The host's busy indicator, shown while the client waits on a synchronous
// server call: a small frameless panel, always on top and centred over the
// active window, with what is going on ("Lendo dados...", "Gravando
// dados...") and a wait cursor. The caller blocks the event loop right after
// activating it, so the panel reaches the screen through StillBusy, which
// the wait calls now and then: a wait that passes a blink brings the panel
// up, a shorter one shows only the cursor (no flash at every row moved).
//
// Calls nest: each ActiveShowAvi counts one level and each DeactiveShowAvi
// ends one; only the end of the outermost level hides the panel and restores
// the cursor. The panel shows the text of the innermost level. Deactivating
// when nothing is active does nothing, so a failure path may always
// deactivate. Without a widget application the levels are only counted.
namespace Showavi {

// Kind 6 reads ("Lendo dados..."), kind 1 writes ("Gravando dados...");
// any other kind shows "Processando...".
void ActiveShowAvi(int kind);
void DeactiveShowAvi();
// Called while the event loop is blocked (a server call's wait hook): once
// the outermost level has lasted a blink, lets the window system put the
// panel on the screen and paint it. The operator's input and timers wait.
void StillBusy();

bool IsActive();
int Depth();

// Told as the outermost level begins (true, before the panel shows) and once
// it has ended (false, the panel hidden): the focus tracker keeps the
// operator's place through the wait, which the window system may move. One
// hook at a time; nullptr removes it.
void SetOutermostHook(void (*hook)(bool busy));

// Keeps the indicator on for its own lifetime, so every way out of a server
// call (return or exception) stops it.
class Busy final {
public:
    explicit Busy(int kind) { ActiveShowAvi(kind); }
    ~Busy() { DeactiveShowAvi(); }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;
};

} // namespace Showavi
