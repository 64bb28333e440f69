#include "dataset/contributor_list.h"

namespace orvel {

namespace {

TextList* active_list = nullptr;

TextList& ListOutsideScopes() {
  static TextList* const list = new TextList();
  return *list;
}

}  // namespace

ContributorListScope::ContributorListScope() : previous_(active_list) {
  ListOutsideScopes().clear();
  active_list = &list_;
}

ContributorListScope::~ContributorListScope() {
  active_list = previous_;
  ListOutsideScopes().clear();
}

TextList& ContributorList() {
  return active_list != nullptr ? *active_list : ListOutsideScopes();
}

}  // namespace orvel
