#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// Storage for many small objects of one type: blocks of growing size, a
// stack of released slots that the next make() reuses, and clear() that
// takes everything back in one sweep. Subdivision makes millions of points
// and list nodes; one heap block per object would dominate time and memory.
// clear() keeps the blocks, so rebuilding a curve of the same size (every
// drag step) touches no fresh memory; trim() gives back the blocks the last
// rebuild did not need. Only for trivially destructible types: objects are
// never destroyed one by one.
template <typename T>
class Pool
{
    static_assert(std::is_trivially_destructible_v<T>);
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

public:
    Pool() = default;
    Pool(const Pool &) = delete;
    Pool &operator=(const Pool &) = delete;

    // A new object constructed from args; owned by the pool until
    // release() or clear().
    template <typename... Args>
    T *make(Args &&...args)
    {
        void *slot;
        if (!released.empty()) {
            slot = released.back();
            released.pop_back();
        } else {
            if (current == blocks.size() || used == capacityOf(current))
                nextBlock();
            slot = blocks[current].get() + used++ * sizeof(T);
        }
        return ::new (slot) T(std::forward<Args>(args)...);
    }

    // Up to wanted (at least 1) consecutive slots, taken from the block
    // being filled or the next one; taken tells how many (1 to wanted).
    // The slots hold no objects yet: the caller constructs one in each
    // (placement new) before use, and like make()'s objects they belong to
    // the pool until clear(). For writers of many objects in a row, which
    // then need no per-object bookkeeping; released slots are left for
    // make().
    T *takeRun(std::size_t wanted, std::size_t &taken)
    {
        if (current == blocks.size() || used == capacityOf(current))
            nextBlock();
        taken = std::min(wanted, capacityOf(current) - used);
        T *first = reinterpret_cast<T *>(blocks[current].get() + used * sizeof(T));
        used += taken;
        return first;
    }

    // Gives one object's slot back for reuse. The object must come from
    // this pool and must not be used afterwards.
    void release(T *object) { released.push_back(object); }

    // Takes back every object at once (all pointers from make() dangle);
    // the blocks stay for the next objects.
    void clear()
    {
        released.clear();
        current = 0;
        used = 0;
    }

    // Frees the blocks after the one being filled: memory that the objects
    // made since the last clear() did not need. True when a block was freed.
    bool trim()
    {
        const bool untouched = current == 0 && used == 0;
        const std::size_t before = blocks.size();
        blocks.resize(untouched ? 0 : std::min(current + 1, blocks.size()));
        released.shrink_to_fit();
        return blocks.size() < before;
    }

private:
    static constexpr std::size_t firstBlock = 32;
    static constexpr std::size_t largestBlock = std::size_t{1} << 16;

    // Block i holds 32 * 2^i objects, at most largestBlock.
    static std::size_t capacityOf(std::size_t index)
    {
        return index >= 11 ? largestBlock : firstBlock << index;
    }

    void nextBlock()
    {
        if (current < blocks.size())
            ++current; // the block being filled is full
        if (current == blocks.size())
            blocks.emplace_back(new std::byte[capacityOf(current) * sizeof(T)]); // not zeroed: make() constructs
        used = 0;
    }

    std::vector<std::unique_ptr<std::byte[]>> blocks;
    std::vector<T *> released;
    std::size_t current = 0; // block being filled; blocks.size() before the first
    std::size_t used = 0;    // objects made in the block being filled
};
