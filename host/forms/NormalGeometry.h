#pragma once

#include <QRect>

class QMdiSubWindow;

// The place and size a document window goes back to when it is neither
// maximised nor minimised. The toolkit keeps that geometry to itself while
// the window is maximised; this follows the window and remembers it as the
// window leaves its normal state, so that the operator's own size can be
// kept even for a screen left maximised.
namespace NormalGeometry {

// Starts following `window` from the geometry it has now (once; the
// follower lives as long as the window).
void follow(QMdiSubWindow &window);

// The geometry `window` has, or had when last neither maximised nor
// minimised, in the document area's coordinates; its current one when it
// was never followed.
QRect of(const QMdiSubWindow &window);

} // namespace NormalGeometry
