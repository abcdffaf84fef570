#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// Storage for many small objects of one type: blocks of growing size, a
// stack of released slots that the next make() reuses, and clear() that
// gives everything back in one sweep. Subdivision makes millions of points
// and list nodes; one heap block per object would dominate time and memory.
// Only for trivially destructible types: objects are never destroyed one
// by one. Not copyable; moving is not needed by its owners.
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
            if (usedInBlock == blockSize)
                grow();
            slot = blocks.back().get() + usedInBlock++ * sizeof(T);
        }
        return ::new (slot) T(std::forward<Args>(args)...);
    }

    // Gives one object's slot back for reuse. The object must come from
    // this pool and must not be used afterwards.
    void release(T *object) { released.push_back(object); }

    // Gives back every object at once; all pointers from make() dangle.
    void clear()
    {
        blocks.clear();
        released.clear();
        released.shrink_to_fit();
        blockSize = firstBlock;
        usedInBlock = firstBlock;
        nextBlock = firstBlock;
    }

private:
    static constexpr std::size_t firstBlock = 32;
    static constexpr std::size_t largestBlock = std::size_t{1} << 16;

    void grow()
    {
        blockSize = nextBlock;
        blocks.emplace_back(new std::byte[blockSize * sizeof(T)]); // not zeroed: make() constructs
        usedInBlock = 0;
        if (nextBlock < largestBlock)
            nextBlock *= 2;
    }

    std::vector<std::unique_ptr<std::byte[]>> blocks;
    std::vector<T *> released;
    std::size_t blockSize = firstBlock;
    std::size_t usedInBlock = firstBlock; // full: the first make() allocates
    std::size_t nextBlock = firstBlock;
};
