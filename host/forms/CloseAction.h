#pragma once

// What closing a screen or dialog does, decided by its FormClose handler:
// refuse to close, hide (it can be shown again as it was), free it (its
// FormDestroy runs and it is destroyed), or minimize it instead.
enum CloseAction { caNone, caHide, caFree, caMinimize };
