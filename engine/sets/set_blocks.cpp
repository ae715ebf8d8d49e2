#include "engine/sets/set_blocks.h"

#include <atomic>
#include <cstdint>
#include <new>

#include <sys/mman.h>

#include "engine/sets/equip_set.h"

namespace set_blocks {
namespace {

struct Block;

// Each slot names its block ahead of the set it holds, so that finding the block needs no
// arithmetic on addresses.
struct alignas(CEquipSet) SlotHead {
    Block* block;
};

// A block is one huge page of the system where it offers them: the sets of a long listing then
// cost a page fault per two megabytes, not per four kilobytes, and reading them back in a ranked
// order misses the address cache far less.
constexpr std::size_t kBlockBytes = std::size_t{1} << 21;
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

// Aligned to its size, as only a whole aligned range can lie on a huge page. The advice is only
// advice: where it is refused, the block is made of small pages as any other memory.
void* NewBlockMemory() {
    void* memory = ::operator new (kBlockBytes, std::align_val_t{kBlockBytes});
    madvise(memory, kBlockBytes, MADV_HUGEPAGE);
    return memory;
}

void Release(Block* block, std::size_t holds) noexcept {
    if (block->holds.fetch_sub(holds, std::memory_order_acq_rel) == holds) {
        block->~Block();
        ::operator delete (block, std::align_val_t{kBlockBytes});
    }
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
            block_ = new (NewBlockMemory()) Block{kSlotsPerBlock + 1};
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
