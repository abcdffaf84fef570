#include "curves/ClosedRefinement.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

namespace {

// The chunked passes: as many of the last passes as keep a chunk's last
// window within windowGroups groups of growth^(fused - 1) points each, that
// window about windowPoints points. A window of 1,024 positions is 24 kB:
// a chunk's levels stay in the first-level cache while the list is written.
constexpr std::uint64_t windowGroups = 64;
constexpr std::uint64_t windowPoints = 1024;

} // namespace

double ClosedRefinement::Rule::passArea(const Vector *, std::size_t, const Vector *) const
{
    return 0.0;
}

void ClosedRefinement::Level::resize(std::size_t size, bool ghosted)
{
    const std::size_t slots = size + 2 * margin;
    if (positions.size() < slots)
        positions.resize(slots);
    if (ghosted && ghosts.size() < slots) {
        ghosts.resize(slots);
        flags.resize(slots);
    }
}

void ClosedRefinement::run(const Rule &rule, int passes, bool fan, List<Point> &target, Pool<Point> &storage)
{
    growth = rule.growth;
    totalPasses = passes;
    withFan = fan;
    keepsOld = rule.keepsOld;
    olds.clear();
    ghosted = false;
    for (Node<Point> *n = target.head; n; n = n->next) {
        olds.push_back(n);
        ghosted = ghosted || n->item->hasGhost;
    }

    int fused = 1;
    std::uint64_t span = 1; // growth^(fused - 1): window points per point of flat
    while (fused < passes && span * growth <= windowGroups) {
        span *= growth;
        ++fused;
    }
    flatPasses = static_cast<std::size_t>(passes - fused);
    passSums.assign(static_cast<std::size_t>(passes), 0.0);

    flatCount = olds.size();
    flat.resize(flatCount, ghosted);
    for (std::size_t i = 0; i < flatCount; ++i) {
        const Point &p = *olds[i]->item;
        flat.positions[margin + i] = p.position;
        if (ghosted) {
            flat.ghosts[margin + i] = p.hasGhost ? p.ghost : p.position;
            flat.flags[margin + i] = p.hasGhost;
        }
    }
    for (std::size_t pass = 0; pass < flatPasses; ++pass)
        runFlatPass(rule, pass);

    std::uint64_t passGrowth = 1;
    for (int i = 0; i < passes; ++i)
        passGrowth *= growth;
    // The old point's object sits at oldSlot in its group at every pass,
    // so old point j ends at j * g^k + oldSlot * (g^(k-1) + ... + g + 1).
    oldStride = passGrowth;
    nextOld = rule.oldSlot * (passGrowth - 1) / (growth - 1);
    oldIndex = 0;
    total = olds.size() * passGrowth;
    beginWriting(target, storage);
    const std::size_t chunk = static_cast<std::size_t>(std::max<std::uint64_t>(1, windowPoints / span));
    windows.resize(static_cast<std::size_t>(fused));
    for (std::size_t begin = 0; begin < flatCount; begin += chunk)
        runChunk(rule, begin, std::min(begin + chunk, flatCount), fused);
    endWriting();

    passAreas = 0.0;
    for (const double sum : passSums)
        passAreas += sum;
}

void ClosedRefinement::expandLevel(const Rule &rule, const Level &in, std::ptrdiff_t first, std::size_t count,
                                   Level &out, std::ptrdiff_t outFirst) const
{
    const auto at = [](std::ptrdiff_t i) { return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(margin) + i); };
    rule.expand(&in.positions[at(first)], count, &out.positions[at(outFirst)]);
    if (ghosted) {
        rule.expand(&in.ghosts[at(first)], count, &out.ghosts[at(outFirst)]);
        rule.expandFlags(&in.flags[at(first)], count, &out.flags[at(outFirst)]);
    }
}

void ClosedRefinement::runFlatPass(const Rule &rule, std::size_t pass)
{
    // The closed polygon's wrap-around neighbours beside its ends.
    const std::size_t n = flatCount;
    flat.positions[margin - 1] = flat.positions[margin + n - 1];
    flat.positions[margin + n] = flat.positions[margin];
    if (ghosted) {
        flat.ghosts[margin - 1] = flat.ghosts[margin + n - 1];
        flat.ghosts[margin + n] = flat.ghosts[margin];
        flat.flags[margin - 1] = flat.flags[margin + n - 1];
        flat.flags[margin + n] = flat.flags[margin];
    }
    flatNext.resize(n * growth, ghosted);
    expandLevel(rule, flat, 0, n, flatNext, 0);
    passSums[pass] = rule.passArea(&flat.positions[margin], n, &flatNext.positions[margin]);
    std::swap(flat, flatNext);
    flatCount = n * growth;
}

void ClosedRefinement::runChunk(const Rule &rule, std::size_t begin, std::size_t end, int fused)
{
    // Window 0 holds flat's points begin to end with two neighbours on
    // either side (wrapping round the loop). Each later window is made
    // from the groups of its predecessor's points and their first
    // neighbours, which again leaves two neighbours on either side of the
    // chunk's own points; only the chunk's own points count towards the
    // areas. The last window's own groups are the loop's next points.
    std::size_t size = end - begin;
    Level &first = windows[0];
    first.resize(size, ghosted);
    const auto n = static_cast<std::ptrdiff_t>(flatCount);
    for (std::ptrdiff_t i = -2; i < static_cast<std::ptrdiff_t>(size) + 2; ++i) {
        const auto from = margin + static_cast<std::size_t>((static_cast<std::ptrdiff_t>(begin) + i + n) % n);
        const auto to = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(margin) + i);
        first.positions[to] = flat.positions[from];
        if (ghosted) {
            first.ghosts[to] = flat.ghosts[from];
            first.flags[to] = flat.flags[from];
        }
    }
    const auto g = static_cast<std::ptrdiff_t>(growth);
    for (int t = 0; t + 1 < fused; ++t) {
        const Level &in = windows[static_cast<std::size_t>(t)];
        Level &out = windows[static_cast<std::size_t>(t) + 1];
        out.resize(size * growth, ghosted);
        expandLevel(rule, in, -1, size + 2, out, -g);
        passSums[flatPasses + static_cast<std::size_t>(t)] +=
            rule.passArea(&in.positions[margin], size, &out.positions[margin]);
        size *= growth;
    }
    const Level &in = windows[static_cast<std::size_t>(fused) - 1];
    outgoing.resize(size * growth, ghosted);
    expandLevel(rule, in, 0, size, outgoing, 0);
    passSums[static_cast<std::size_t>(totalPasses) - 1] +=
        rule.passArea(&in.positions[margin], size, &outgoing.positions[margin]);
    write(outgoing, size * growth);
}

void ClosedRefinement::beginWriting(List<Point> &target, Pool<Point> &storage)
{
    // New points and nodes come after the old ones in their storage.
    list = &target;
    pool = &storage;
    pointsLeft = nodesLeft = 0;
    anchor.next = nullptr;
    last = &anchor;
    written = 0;
    loopArea = 0.0;
}

void ClosedRefinement::endWriting()
{
    list->head = anchor.next;
    list->head->prev = nullptr;
    list->tail = last;
    list->count = static_cast<std::uint32_t>(written);
    list->cacheValid = false;
}

void ClosedRefinement::takeSlots()
{
    if (pointsLeft == 0)
        pointRun = pool->takeRun(static_cast<std::size_t>(total - written - (olds.size() - oldIndex)), pointsLeft);
    if (nodesLeft == 0)
        nodeRun = list->takeNodes(static_cast<std::size_t>(total - written - (olds.size() - oldIndex)), nodesLeft);
}

void ClosedRefinement::write(const Level &level, std::size_t count)
{
    std::size_t i = 0;
    while (i < count) {
        const std::size_t stop = nextOld - written < count - i ? i + static_cast<std::size_t>(nextOld - written)
                                                             : count;
        if (ghosted)
            withFan ? writeNew<true, true>(level, i, stop) : writeNew<true, false>(level, i, stop);
        else
            withFan ? writeNew<false, true>(level, i, stop) : writeNew<false, false>(level, i, stop);
        i = stop;
        if (i < count)
            writeOld(level, i++);
    }
}

template <bool Ghosted, bool Fan>
void ClosedRefinement::writeNew(const Level &level, std::size_t begin, std::size_t end)
{
    const Vector *positions = &level.positions[margin];
    const Vector *ghosts = Ghosted ? &level.ghosts[margin] : nullptr;
    const std::uint8_t *flags = Ghosted ? &level.flags[margin] : nullptr;
    std::size_t i = begin;
    while (i < end) {
        takeSlots();
        const std::size_t m = std::min({end - i, pointsLeft, nodesLeft});
        Node<Point> *previous = last;
        // The fan's running sum in registers: through the member, every
        // addition would wait for the store of the one before.
        double area = loopArea;
        Vector fanStart = fanFirst, fanLast = fanPrevious;
        for (std::size_t j = 0; j < m; ++j) {
            const Vector &q = positions[i + j];
            Point *p = ::new (pointRun + j) Point(q);
            if constexpr (Ghosted) {
                if (flags[i + j]) {
                    p->ghost = ghosts[i + j];
                    p->hasGhost = true;
                }
            }
            Node<Point> *node = ::new (nodeRun + j) Node<Point>(p);
            node->prev = previous;
            previous->next = node;
            previous = node;
            if constexpr (Fan) {
                const std::uint64_t index = written + j;
                if (index >= 2)
                    area += signedArea(fanStart, q, fanLast);
                else if (index == 0)
                    fanStart = q;
                fanLast = q;
            }
        }
        last = previous;
        loopArea = area;
        fanFirst = fanStart;
        fanPrevious = fanLast;
        pointRun += m;
        pointsLeft -= m;
        nodeRun += m;
        nodesLeft -= m;
        written += m;
        i += m;
    }
}

void ClosedRefinement::writeOld(const Level &level, std::size_t i)
{
    Node<Point> *node = olds[oldIndex];
    Point *p = node->item;
    const Vector &q = level.positions[margin + i];
    if (keepsOld)
        p->position = q;
    else
        *p = Point(q);
    if (ghosted && level.flags[margin + i]) {
        p->ghost = level.ghosts[margin + i];
        p->hasGhost = true;
    }
    node->next = nullptr;
    node->prev = last;
    last->next = node;
    last = node;
    if (withFan)
        addToFan(q, written);
    ++written;
    ++oldIndex;
    nextOld += oldStride;
}
