// The contributor list of the page being parsed: entries of a name followed
// by its role suffix, filled by ClassifyCredits and read by
// StoreContributors. It exists only while ParseItemPage runs.
#ifndef ORVEL_DATASET_CONTRIBUTOR_LIST_H_
#define ORVEL_DATASET_CONTRIBUTOR_LIST_H_

#include "text/text.h"

namespace orvel {

// Makes a new, empty contributor list for the length of its own lifetime.
class ContributorListScope {
 public:
  ContributorListScope();
  ~ContributorListScope();
  ContributorListScope(const ContributorListScope&) = delete;
  ContributorListScope& operator=(const ContributorListScope&) = delete;

 private:
  TextList list_;
  TextList* previous_;
};

// The list of the innermost scope; outside every scope, a list that is
// emptied whenever a scope begins or ends.
TextList& ContributorList();

}  // namespace orvel

#endif  // ORVEL_DATASET_CONTRIBUTOR_LIST_H_
