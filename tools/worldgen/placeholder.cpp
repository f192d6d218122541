// Keeps the library non-empty until the first generator lands.
namespace kv::worldgen {
int placeholder() { return 0; }
} // namespace kv::worldgen
