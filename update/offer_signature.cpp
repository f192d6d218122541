#include "update/offer_signature.h"

#include <openssl/evp.h>

#include <memory>

namespace kv::update {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

struct KeyFree {
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct ContextFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
struct KeyContextFree {
    void operator()(EVP_PKEY_CTX* c) const { EVP_PKEY_CTX_free(c); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Context = std::unique_ptr<EVP_MD_CTX, ContextFree>;

bool verifiesWith(std::string_view message, const std::vector<unsigned char>& signature,
                  const std::vector<unsigned char>& publicKey) {
    Key key(EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, publicKey.data(),
                                        publicKey.size()));
    Context ctx(EVP_MD_CTX_new());
    if (!key || !ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return EVP_DigestVerify(ctx.get(), signature.data(), signature.size(),
                            reinterpret_cast<const unsigned char*>(message.data()),
                            message.size()) == 1;
}

} // namespace

std::optional<std::vector<unsigned char>> parseHex(std::string_view text, std::size_t bytes) {
    text = trimmed(text);
    if (text.size() != 2 * bytes)
        return std::nullopt;
    std::vector<unsigned char> out(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
        const int high = hexDigit(text[2 * i]), low = hexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return out;
}

std::string toHex(const unsigned char* data, std::size_t length) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * length);
    for (std::size_t i = 0; i < length; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::vector<std::string> parsePublicKeys(std::string_view list, std::vector<std::string>* rejected) {
    std::vector<std::string> keys;
    while (!list.empty()) {
        const auto comma = list.find(',');
        const std::string_view item = trimmed(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
        if (item.empty())
            continue;
        if (parseHex(item, kPublicKeyBytes))
            keys.emplace_back(item);
        else if (rejected)
            rejected->emplace_back(item);
    }
    return keys;
}

SignatureCheck checkSignature(std::string_view message, std::string_view signatureText,
                              const std::vector<std::string>& publicKeys) {
    const auto signature = parseHex(signatureText, kSignatureBytes);
    if (!signature)
        return SignatureCheck::Malformed;
    for (const std::string& text : publicKeys)
        if (const auto key = parseHex(text, kPublicKeyBytes);
            key && verifiesWith(message, *signature, *key))
            return SignatureCheck::Verified;
    return SignatureCheck::Forged;
}

std::optional<KeyPair> generateKeyPair() {
    std::unique_ptr<EVP_PKEY_CTX, KeyContextFree> ctx(
        EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr));
    EVP_PKEY* raw = nullptr;
    if (!ctx || EVP_PKEY_keygen_init(ctx.get()) != 1 || EVP_PKEY_keygen(ctx.get(), &raw) != 1)
        return std::nullopt;
    const Key key(raw);
    unsigned char pub[kPublicKeyBytes], sec[kSecretKeyBytes];
    std::size_t pubLength = sizeof pub, secLength = sizeof sec;
    if (EVP_PKEY_get_raw_public_key(key.get(), pub, &pubLength) != 1 ||
        EVP_PKEY_get_raw_private_key(key.get(), sec, &secLength) != 1)
        return std::nullopt;
    return KeyPair{toHex(pub, pubLength), toHex(sec, secLength)};
}

std::optional<std::string> publicKeyOf(std::string_view secretHex) {
    const auto secret = parseHex(secretHex, kSecretKeyBytes);
    if (!secret)
        return std::nullopt;
    const Key key(EVP_PKEY_new_raw_private_key(EVP_PKEY_ED25519, nullptr, secret->data(),
                                               secret->size()));
    unsigned char pub[kPublicKeyBytes];
    std::size_t length = sizeof pub;
    if (!key || EVP_PKEY_get_raw_public_key(key.get(), pub, &length) != 1)
        return std::nullopt;
    return toHex(pub, length);
}

std::optional<std::string> signMessage(std::string_view message, std::string_view secretHex) {
    const auto secret = parseHex(secretHex, kSecretKeyBytes);
    if (!secret)
        return std::nullopt;
    Key key(EVP_PKEY_new_raw_private_key(EVP_PKEY_ED25519, nullptr, secret->data(),
                                         secret->size()));
    Context ctx(EVP_MD_CTX_new());
    unsigned char signature[kSignatureBytes];
    std::size_t length = sizeof signature;
    if (!key || !ctx || EVP_DigestSignInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
        EVP_DigestSign(ctx.get(), signature, &length,
                       reinterpret_cast<const unsigned char*>(message.data()),
                       message.size()) != 1)
        return std::nullopt;
    return toHex(signature, length);
}

} // namespace kv::update
