#pragma once

#include <Qt>

// Shows `shape` as the application's cursor for the life of the object and
// puts the previous cursor back when it goes, also when a failure unwinds
// through its scope.
class CursorOverride final {
public:
    explicit CursorOverride(Qt::CursorShape shape);
    ~CursorOverride();

    CursorOverride(const CursorOverride &) = delete;
    CursorOverride &operator=(const CursorOverride &) = delete;
};
