#include "CancellationCommands.h"

CancellationCommands commandsFor(const CancellationFacts &f)
{
    CancellationCommands c;
    c.find = !f.listEmpty && !f.editing;
    c.verify = c.find;
    c.cancel = !f.listEmpty && f.editing;
    c.confirm = c.cancel;
    // While a branch is being chosen nothing else can be asked for.
    c.filter = !c.confirm && !f.choosingBranch;
    c.reEnable = !f.listEmpty && !f.editing && f.withdrawn;
    // The history and the export change nothing: open whenever a quote is
    // listed and no edit is under way.
    c.history = c.find;
    c.exportList = c.find;
    c.finish = f.pendingSteps && !f.editing;
    // Closed until a branch has been offered to the operator.
    c.pages = f.branchOffered;
    c.gridPage = !f.editing || f.withdrawn;
    c.itemsPage = !f.listEmpty && c.gridPage;
    c.reasonPage = !f.listEmpty && !c.gridPage;
    c.reasonPanel = !f.choosingBranch;
    c.reason = f.editing && !f.withdrawn;
    // The branch stays while a quote is being edited, and always when the
    // host fixes it.
    c.branch = !f.editing && !f.branchFixed;
    return c;
}
