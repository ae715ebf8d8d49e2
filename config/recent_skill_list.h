#pragma once

#include <cstdint>
#include <list>

// Recently used skills of one weapon type: skill-table indices, oldest at the head, newest at the
// tail.
class CRecentSkillList {
public:
    void Append(std::int32_t skillIndex) { values_.push_back(skillIndex); }
    void RemoveHead() { values_.pop_front(); }
    // Unlinks every node holding the index: a Config.dat made elsewhere may hold one twice, and
    // a push must still leave it once, at the newest end.
    void Remove(std::int32_t skillIndex) { values_.remove(skillIndex); }
    void RemoveAll() { values_.clear(); }
    std::int32_t Count() const { return static_cast<std::int32_t>(values_.size()); }
    // Oldest first; iterate backwards for newest first.
    const std::list<std::int32_t>& Values() const { return values_; }

private:
    std::list<std::int32_t> values_;
};
