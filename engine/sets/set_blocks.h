#pragma once

#include <cstddef>

// Storage for the sets a search lists, a million at a time: each thread carves its sets from a
// block of its own one after the other, and a block goes back at once when its last set is
// freed. Sets made together lie together, and freeing them costs one counter step each instead
// of a trip through the general allocator. Blocks are asked to lie on huge pages.
namespace set_blocks {

// Room for one object of `size` bytes; sizes other than the block's slot take the general
// allocator.
void* Allocate(std::size_t size);
// Gives back what Allocate handed out for the same `size`.
void Free(void* object, std::size_t size) noexcept;

} // namespace set_blocks
