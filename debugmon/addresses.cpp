#include "debugmon/addresses.h"

namespace kv::debugmon {

namespace {

PlayerAddresses stride(Address first, Address step) {
    PlayerAddresses out{};
    for (int i = 0; i < kPlayers; ++i)
        out[std::size_t(i)] = first + step * Address(i);
    return out;
}

Addresses build() {
    Addresses a;
    a.power = stride(0x038B8438, 12);
    a.colour = stride(0x00620D08, 1);
    a.trucks = stride(0x00526828, 4);
    a.units = stride(0x00526848, 4);
    a.derricks = stride(0x047B822C, 452);
    a.debugFlag = 0x0052611C;
    return a;
}

} // namespace

const Addresses& gameAddresses() {
    static const Addresses table = build();
    return table;
}

} // namespace kv::debugmon
