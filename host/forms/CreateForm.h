#pragma once

#include <memory>
#include <utility>

// Builds a screen or dialog and runs its FormCreate. Creation runs here and
// not in the constructor because a constructor cannot reach the handlers of
// the class derived from it. When FormCreate throws, the half-made form is
// destroyed and the exception goes on to the caller.
template <class T, class... Args>
T *CreateForm(Args &&...args)
{
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    form->FormCreate();
    return form.release();
}
