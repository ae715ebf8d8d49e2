#include "engine/sets/set_blocks.h"

#include <atomic>
#include <cstdint>
#include <new>

#include "engine/sets/equip_set.h"
#include "platform/prefault.h"

namespace set_blocks {
namespace {

struct Block;

// Each slot names its block ahead of the set it holds, so that blocks need no alignment of their
// own and come straight from the system's pages.
struct alignas(CEquipSet) SlotHead {
    Block* block;
};

constexpr std::size_t kBlockBytes = std::size_t{1} << 18;
constexpr std::size_t kHeaderBytes = 64;
constexpr std::size_t kSetBytes = sizeof(CEquipSet);
constexpr std::size_t kSlotBytes = sizeof(SlotHead) + kSetBytes;
constexpr std::size_t kSlotsPerBlock = (kBlockBytes - kHeaderBytes) / kSlotBytes;
static_assert(kHeaderBytes % alignof(CEquipSet) == 0 && kSlotBytes % alignof(CEquipSet) == 0);
static_assert(alignof(CEquipSet) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

// `holds` counts the sets alive in the block plus the slots its thread may still hand out plus
// one while it is that thread's block, so that handing out a slot needs no atomic step: the
// block is charged with every slot when it is made, and the thread gives back what it did not
// use when it moves on.
struct Block {
    std::atomic<std::size_t> holds;
};
static_assert(sizeof(Block) <= kHeaderBytes);

Block* BlockOf(void* set) {
    return (reinterpret_cast<SlotHead*>(set) - 1)->block;
}

void Release(Block* block, std::size_t holds) noexcept {
    if (block->holds.fetch_sub(holds, std::memory_order_acq_rel) == holds) {
        block->~Block();
        ::operator delete(block);
    }
}

// A listing fills every page of a block in turn, and a fault for each page, one at a time, cost
// the search of a large listing a fifth of its time: the pages come at once instead. Memory the
// allocator hands out again is backed already and costs next to nothing here.
void* FreshBlockMemory() {
    void* memory = ::operator new(kBlockBytes);
    platform::PrefaultForWriting(memory, kBlockBytes);
    return memory;
}

// The block a thread carves its sets from, given back when the thread ends.
class ThreadBlock {
public:
    ThreadBlock() = default;
    ThreadBlock(const ThreadBlock&) = delete;
    ThreadBlock& operator=(const ThreadBlock&) = delete;
    ~ThreadBlock() { LetGo(); }

    void* Next() {
        if (block_ == nullptr || used_ == kSlotsPerBlock) {
            LetGo();
            block_ = new (FreshBlockMemory()) Block{kSlotsPerBlock + 1};
            used_ = 0;
        }
        char* slot = reinterpret_cast<char*>(block_) + kHeaderBytes + kSlotBytes * used_++;
        auto* head = new (slot) SlotHead{block_};
        return head + 1;
    }

private:
    void LetGo() noexcept {
        if (block_ != nullptr) {
            Release(block_, kSlotsPerBlock - used_ + 1);
            block_ = nullptr;
        }
    }

    Block* block_ = nullptr;
    std::size_t used_ = 0;
};

thread_local ThreadBlock threadBlock;

} // namespace

void* Allocate(std::size_t size) {
    return size == kSetBytes ? threadBlock.Next() : ::operator new(size);
}

void Free(void* object, std::size_t size) noexcept {
    if (object == nullptr) {
        return;
    }
    if (size != kSetBytes) {
        ::operator delete(object);
        return;
    }
    Release(BlockOf(object), 1);
}

} // namespace set_blocks
