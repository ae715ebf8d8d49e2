#include "cli/output_buffer.h"

// Room for a full block and the record that filled it.
OutputBuffer::OutputBuffer(std::FILE* out) : out_(out), block_(kBlockSize + kBlockSize / 4) {}

OutputBuffer::~OutputBuffer() {
    Flush();
}

void OutputBuffer::Flush() {
    std::fwrite(block_.data(), 1, size_, out_);
    size_ = 0;
}
