#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <sodium.h>

namespace vesk::test {

// An Ed25519 key pair of the test's own: its public key goes to the updater
// in place of the publisher's, and it signs the test's archives.
class SigningKey {
public:
    SigningKey()
    {
        if (sodium_init() >= 0)
            crypto_sign_keypair(publicKey_, secretKey_);
    }

    QByteArray publicKey() const { return QByteArray(reinterpret_cast<const char*>(publicKey_), sizeof publicKey_); }

    QByteArray sign(const QByteArray& bytes) const
    {
        unsigned char signature[crypto_sign_BYTES];
        crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(bytes.constData()),
                             static_cast<unsigned long long>(bytes.size()), secretKey_);
        return QByteArray(reinterpret_cast<const char*>(signature), sizeof signature);
    }

private:
    unsigned char publicKey_[crypto_sign_PUBLICKEYBYTES] = {};
    unsigned char secretKey_[crypto_sign_SECRETKEYBYTES] = {};
};

// The feed of one release, with every key the updater requires, its archive
// signed by `key`.
inline QJsonObject signedFeed(const SigningKey& key, const QString& version, const QByteArray& archive,
                              const QUrl& archiveURL)
{
    return QJsonObject{
        {"version", version},
        {"length", archive.size()},
        {"url", archiveURL.toString()},
        {"sha256", QString::fromLatin1(QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex())},
        {"signature", QString::fromLatin1(key.sign(archive).toBase64())},
    };
}

} // namespace vesk::test
