#include "engine/search/skill_search.h"

#include "engine/search/search_run.h"

void CSkillSearch::Search(const CSearchCondition& condition) {
    RunSearch(database, condition, *this, *this, sink);
}

void CSkillSearch::RefineSearch(const CSearchCondition& condition) {
    RunRefine(database, condition, *this, *this, sink);
}
