#pragma once

// What the cancellation screen knows when it decides which of its commands,
// pages and reason controls the operator may use. Nothing here is cached:
// the screen reads the facts afresh each time.
struct CancellationFacts {
    bool listEmpty = true;       // no quote listed (a closed list counts as empty)
    bool editing = false;        // a quote is marked: the list is in edit
    bool withdrawn = false;        // the current quote is stored as cancelled or postponed
    bool branchOffered = false; // the branch has been offered: the pages may open
    bool choosingBranch = false;// the focus is in the branch: only the branch counts
    bool branchFixed = false;      // the host fixes the branch
    bool pendingSteps = false;        // a stored operation still has steps left
};

// Which commands the facts allow.
struct CancellationCommands {
    bool find = false;
    bool verify = false;
    bool cancel = false;
    bool confirm = false;
    bool filter = false;
    bool reEnable = false;
    bool history = false;
    bool exportList = false;
    bool finish = false;
    bool pages = false;      // the page control as a whole
    bool gridPage = false;
    bool itemsPage = false;
    bool reasonPage = false;
    bool reasonPanel = false; // the reason panel as a whole
    bool reason = false;       // the reason code, its lookup, its label and the justification
    bool branch = false;       // the branch panel's controls

    bool operator==(const CancellationCommands &) const = default;
};

CancellationCommands commandsFor(const CancellationFacts &facts);
