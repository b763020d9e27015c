#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tamvek::results {

// The SHA-256 compression of `count` 64-byte blocks into `state`: the plain
// form, and the processor's own SHA instructions where it has them (x86-64
// since about 2017), which digest tamvek's arrays about four times as fast.
using Sha256State = std::array<std::uint32_t, 8>;
void sha256_blocks_plain(Sha256State& state, const unsigned char* data, std::size_t count);
bool processor_has_sha256();
void sha256_blocks_processor(Sha256State& state, const unsigned char* data, std::size_t count);

}  // namespace tamvek::results
