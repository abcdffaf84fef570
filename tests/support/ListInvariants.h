#pragma once

#include "geometry/List.h"

#include <cstdint>
#include <string>

// Checks that a list is well formed: count matches the chain, head and tail
// are the chain's ends with null outer links, every prev mirrors next, and a
// valid cache holds the chain's nodes in order. Returns an empty string when
// all holds, else what is wrong. Bounded: a cycle is reported, not followed.
template <typename T>
std::string listProblem(const List<T> &list)
{
    if ((list.head == nullptr) != (list.count == 0) || (list.tail == nullptr) != (list.count == 0))
        return "head/tail null mismatch with count " + std::to_string(list.count);
    if (list.head && list.head->prev)
        return "head has a prev";
    if (list.tail && list.tail->next)
        return "tail has a next";
    std::uint64_t walked = 0;
    const Node<T> *prev = nullptr;
    for (const Node<T> *n = list.head; n; n = n->next) {
        if (n->prev != prev)
            return "broken prev link at position " + std::to_string(walked + 1);
        if (++walked > list.count)
            return "chain longer than count " + std::to_string(list.count);
        if (list.cacheValid && (walked >= list.cache.size() || list.cache[walked] != n))
            return "stale cache slot " + std::to_string(walked);
        prev = n;
    }
    if (walked != list.count)
        return "chain of " + std::to_string(walked) + " but count " + std::to_string(list.count);
    if (prev != list.tail)
        return "tail is not the last node";
    return {};
}
