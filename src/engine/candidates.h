// Candidates as data: what a search finds (the text and the table key it was
// found by), a page of them with whether there are pages before and after
// it, and the one step that may put a list in another order before it is
// paged. How a page is drawn (captions, row breaks, pixel bands) is the
// presentation's business, not the search's.
#pragma once

#include <string_view>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko {

struct Candidate {
    Text text;  // what a pick commits or takes as a component
    Text key;   // the key of the table line it was found by (for associations: the character it follows)
    bool operator==(const Candidate&) const = default;
};

using CandidateList = std::vector<Candidate>;

struct CandidatePage {
    CandidateList items;
    bool hasPrevious = false;
    bool hasNext = false;
};

// A reordering step applied to a whole list before it is paged. A list for
// which reorders() is false keeps the shipped order and is paged straight
// from the table, as if there were no such step.
class CandidateOrder {
public:
    virtual ~CandidateOrder() = default;
    // Whether the list for `code` may come out in another order.
    virtual bool reorders(std::string_view code) const = 0;
    // Puts `list` in its order; it must keep every item exactly once.
    virtual void reorder(CandidateList& list) const = 0;
};

}  // namespace lumiko
