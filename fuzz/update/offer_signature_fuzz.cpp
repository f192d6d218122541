// Any bytes as a ".sig" text, as an "UpdateKey" list and as a signed "Config.ini": the
// hexadecimal readers finish and accept only exact lengths, and nothing verifies but the
// one signature the fixed key made of the one message it signed.
#include "update/offer_signature.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kv::update;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto asSignature = parseHex(input, kSignatureBytes);
    if (asSignature && asSignature->size() != kSignatureBytes)
        __builtin_trap();
    for (const std::string& key : parsePublicKeys(input))
        if (!parseHex(key, kPublicKeyBytes))
            __builtin_trap();

    static const std::string secret(64, '1');
    static const std::vector<std::string> keys{*publicKeyOf(secret)};
    static const std::string message = "[MAIN]:\r\n{\r\n}\r\n";
    static const std::string good = *signMessage(message, secret);
    static const auto goodBytes = parseHex(good, kSignatureBytes);
    // The input as the signature of the known message...
    const bool isGood = asSignature && *asSignature == *goodBytes;
    if ((checkSignature(message, input, keys) == SignatureCheck::Verified) != isGood)
        __builtin_trap();
    // ...and as the message under the known signature.
    if ((checkSignature(input, good, keys) == SignatureCheck::Verified) != (input == message))
        __builtin_trap();
    return 0;
}
