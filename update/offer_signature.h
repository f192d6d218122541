#pragma once
// Ed25519 signatures of the update server's "Config.ini": the launcher checks them, kvstool
// makes the keys and the signatures. The cryptography is OpenSSL's libcrypto; this file
// only reads and writes the hexadecimal texts around it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::update {

inline constexpr std::size_t kPublicKeyBytes = 32;
inline constexpr std::size_t kSecretKeyBytes = 32; // the private seed
inline constexpr std::size_t kSignatureBytes = 64;

// Exactly `bytes` bytes written as 2*bytes hexadecimal digits (either case); blanks and
// line ends around the digits are allowed, nothing else.
std::optional<std::vector<unsigned char>> parseHex(std::string_view text, std::size_t bytes);
std::string toHex(const unsigned char* data, std::size_t length);

// The keys of a comma-separated list (the build's list, or one "UpdateKey=" value); keys
// that are not 64 hexadecimal digits are left out and named in `rejected`.
std::vector<std::string> parsePublicKeys(std::string_view list,
                                         std::vector<std::string>* rejected = nullptr);

enum class SignatureCheck {
    Verified,  // signed by one of the keys
    Malformed, // the ".sig" text is no signature
    Forged,    // a signature, by none of the keys or of other bytes
};
SignatureCheck checkSignature(std::string_view message, std::string_view signatureText,
                              const std::vector<std::string>& publicKeys);

struct KeyPair {
    std::string publicHex;
    std::string secretHex;
};
std::optional<KeyPair> generateKeyPair();
// The public half of a secret key, as 64 hexadecimal digits.
std::optional<std::string> publicKeyOf(std::string_view secretHex);
// The signature of `message` as 128 hexadecimal digits; nothing when the key is no key.
std::optional<std::string> signMessage(std::string_view message, std::string_view secretHex);

} // namespace kv::update
