#include "cli/output_buffer.h"

// Room for a full block and the record that filled it.
OutputBuffer::OutputBuffer(std::FILE* out)
    : out_(out), block_(kBlockSize + kBlockSize / 4), end_(block_.data()),
      limit_(block_.data() + block_.size()) {}

OutputBuffer::~OutputBuffer() {
    Flush();
}

void OutputBuffer::Flush() {
    std::fwrite(block_.data(), 1, static_cast<std::size_t>(end_ - block_.data()), out_);
    end_ = block_.data();
}

void OutputBuffer::Grow(std::size_t more) {
    const auto used = static_cast<std::size_t>(end_ - block_.data());
    block_.resize(used + more);
    end_ = block_.data() + used;
    limit_ = block_.data() + block_.size();
}
