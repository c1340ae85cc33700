#pragma once

#include "QuoteListing.h"

// The listing filter that takes a branch's quotes in every state: the
// largest list a branch has (100,000 rows on the million-quote database).
inline QuoteListing everyState()
{
    QuoteListing filter;
    filter.states.clear();
    filter.allStates = QuoteListing::all;
    return filter;
}
