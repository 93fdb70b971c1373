#include "update/UpdateSignatureVerifier.h"

#include <QFile>

#include <sodium.h>

namespace vesk {

namespace {

bool sodiumReady()
{
    // Safe to call more than once and from any thread; negative when the library cannot work.
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

UpdateSignatureVerifier::UpdateSignatureVerifier(QByteArray publicKey) : publicKey_(std::move(publicKey))
{
    static_assert(publicKeyBytes == crypto_sign_PUBLICKEYBYTES && signatureBytes == crypto_sign_BYTES);
}

QByteArray UpdateSignatureVerifier::builtInPublicKey()
{
    return QByteArray::fromBase64(VESK_UPDATE_PUBLIC_KEY);
}

bool UpdateSignatureVerifier::verifiesFile(const QString& path, const QByteArray& signature) const
{
    if (publicKey_.size() != publicKeyBytes || signature.size() != signatureBytes || !sodiumReady())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return false;
    const uchar* bytes = file.map(0, file.size());
    if (!bytes)
        return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()), bytes,
                                       static_cast<unsigned long long>(file.size()),
                                       reinterpret_cast<const unsigned char*>(publicKey_.constData()))
           == 0;
}

} // namespace vesk
