#pragma once

#include <QByteArray>
#include <QString>

namespace vesk {

// Checks that an update archive was signed by Vesk's publisher: an Ed25519
// signature over the archive's bytes, made with the publisher's private key
// and checked against its public key. Vesk passes the key it was built with
// (builtInPublicKey); tests pass a key of their own.
class UpdateSignatureVerifier {
public:
    static constexpr qsizetype publicKeyBytes = 32;
    static constexpr qsizetype signatureBytes = 64;

    // `publicKey`: the key's 32 raw bytes. Another size verifies nothing.
    explicit UpdateSignatureVerifier(QByteArray publicKey);

    // The publisher's public key compiled into Vesk (VESK_UPDATE_PUBLIC_KEY at configure time).
    static QByteArray builtInPublicKey();

    // Whether `signature` is the key's signature of the whole file; false as
    // well when the file cannot be read.
    bool verifiesFile(const QString& path, const QByteArray& signature) const;

private:
    QByteArray publicKey_;
};

} // namespace vesk
