#pragma once
// The program's own pictures: the images of the commands, by number, and the mouse cursors of the
// drawing area, by number. Both are drawn with QPainter when first asked for.

#include <QCursor>
#include <QIcon>

namespace drex {

/// The picture of command image `imageNo` (0..ImageCount - 1); a null icon for a number that has none.
QIcon CommandImage(int imageNo);

/// The cursor registered under `cursorNo` (TargetCur..ArrowCur); the cross for any other number.
QCursor ProgramCursor(int cursorNo);

} // namespace drex
