// A stand-in for libFuzzer's main() when the compiler has none: replays
// every file of the given corpus folders, then feeds random mutations of
// them (fixed seed, so a failure repeats) until the time or run budget ends.
// usage: fuzz_x [--seconds=N] [--runs=N] CORPUS_DIR...
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Mutate(const std::vector<Bytes>& corpus, std::mt19937& random) {
  Bytes data = corpus.empty() ? Bytes() : corpus[random() % corpus.size()];
  const int steps = 1 + static_cast<int>(random() % 8);
  for (int i = 0; i < steps; ++i) {
    const size_t size = data.size();
    switch (random() % 7) {
      case 0:  // flip a bit
        if (size) data[random() % size] ^= static_cast<uint8_t>(1u << (random() % 8));
        break;
      case 1:  // set a byte to an interesting value
        if (size) data[random() % size] = static_cast<uint8_t>("\0\xff<>\"'=&/ \x80"[random() % 11]);
        break;
      case 2:  // insert a byte
        data.insert(data.begin() + static_cast<long>(size ? random() % (size + 1) : 0), static_cast<uint8_t>(random()));
        break;
      case 3:  // erase a run
        if (size) {
          const size_t at = random() % size;
          data.erase(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(std::min(size, at + 1 + random() % 16)));
        }
        break;
      case 4:  // duplicate a run
        if (size && size < 1 << 16) {
          const size_t at = random() % size, length = std::min<size_t>(size - at, 1 + random() % 64);
          Bytes chunk(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + length));
          data.insert(data.begin() + static_cast<long>(random() % (data.size() + 1)), chunk.begin(), chunk.end());
        }
        break;
      case 5:  // truncate
        if (size) data.resize(random() % size);
        break;
      default:  // splice with another input
        if (!corpus.empty()) {
          const Bytes& other = corpus[random() % corpus.size()];
          if (!other.empty()) {
            const size_t from = random() % other.size();
            data.resize(size ? random() % size : 0);
            data.insert(data.end(), other.begin() + static_cast<long>(from), other.end());
          }
        }
        break;
    }
  }
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 3;
  long runs = 200000;
  std::vector<Bytes> corpus;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seconds=", 10) == 0) {
      seconds = std::atof(argv[i] + 10);
    } else if (std::strncmp(argv[i], "--runs=", 7) == 0) {
      runs = std::atol(argv[i] + 7);
    } else {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      }
    }
  }
  for (const Bytes& input : corpus) LLVMFuzzerTestOneInput(input.data(), input.size());
  std::mt19937 random(20261211);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  long done = 0;
  while (done < runs && std::chrono::steady_clock::now() < deadline) {
    const Bytes input = Mutate(corpus, random);
    LLVMFuzzerTestOneInput(input.data(), input.size());
    ++done;
  }
  std::printf("replayed %zu inputs, ran %ld mutations\n", corpus.size(), done);
  return 0;
}
