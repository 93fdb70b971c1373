#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class QSettings;

namespace vesk {

// A user-defaults domain (the standard one or a named suite): one JSON file
// per suite in the app's config folder, through QSettings. Values keep their
// type (boolean, integer, double, text, data, array, dictionary). Several
// instances over the same suite in one process share what is written at once,
// also across threads; every write is also synced to the file, and then to a
// last good copy ("<file>.last-good"), written whole or not at all. A file
// that cannot be read is moved aside ("<file>.unreadable-<time>") and the
// domain starts from the last good copy, or empty when that cannot be read
// either (`readFailure` then says why); a write that does not reach the file
// or the copy is logged and reported to the write-failure handler. An instance is used on one thread only (the main
// thread, unless it was made for another).
class UserDefaults {
public:
    // The suite of the application's standard user defaults.
    static constexpr const char* standardSuiteName = "de.pelko.vesk";
    // The app's config folder.
    static QString defaultRootDirectory();

    explicit UserDefaults(const QString& suiteName = QString::fromUtf8(standardSuiteName),
                          const QString& rootDirectory = defaultRootDirectory());
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    QString suiteName() const { return suiteName_; }
    QString filePath() const;
    static QString lastGoodCopyPath(const QString& filePath);
    // Why the domain started empty although it had a file: neither the file
    // nor its last good copy could be read. None when it holds what was last
    // saved, or nothing because nothing ever was.
    const std::optional<QString>& readFailure() const { return readFailure_; }

    // Whether the domain holds an object for the key.
    bool objectExists(const QString& key) const;
    std::optional<QVariant> object(const QString& key) const;
    // False when absent; numbers are true unless 0; texts "true"/"yes"/"1"
    // (any case) are true.
    bool boolForKey(const QString& key) const;
    // 0 when absent or not a number (a numeric text is read as its number).
    qint64 integerForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    // The text, or a number's text; none for anything else.
    std::optional<QString> stringForKey(const QString& key) const;
    // None unless the stored object is an array; elements of any type.
    std::optional<QVariantList> arrayForKey(const QString& key) const;
    // None unless the stored object is an array whose elements are all texts.
    std::optional<QStringList> stringArrayForKey(const QString& key) const;
    std::optional<QVariantMap> dictionaryForKey(const QString& key) const;
    // None unless the stored object is data.
    std::optional<QByteArray> dataForKey(const QString& key) const;

    void setObject(const QString& key, const QVariant& value);
    void setBool(const QString& key, bool value) { setObject(key, value); }
    void setInteger(const QString& key, qint64 value) { setObject(key, value); }
    void setDouble(const QString& key, double value) { setObject(key, value); }
    void setString(const QString& key, const QString& value) { setObject(key, value); }
    void setArray(const QString& key, const QVariantList& value) { setObject(key, value); }
    void setStringArray(const QString& key, const QStringList& value);
    void setDictionary(const QString& key, const QVariantMap& value) { setObject(key, value); }
    void setData(const QString& key, const QByteArray& value) { setObject(key, value); }
    void removeObject(const QString& key);

    // Every key of the domain with its value.
    QVariantMap dictionaryRepresentation() const;

    // Called with the file and the reason whenever a write does not reach the file.
    void setWriteFailureHandler(std::function<void(const QString& failure)> handler)
    {
        writeFailureHandler_ = std::move(handler);
    }

private:
    void recoverUnreadableFile(const QString& path);
    static QString restoreFromCopy(const QString& path, const QString& copy);
    static void keepLastGoodCopyOfReadableFile(const QString& path);
    void prepareWrite();
    void syncToFile();
    void writeLastGoodCopy();

    QString suiteName_;
    std::unique_ptr<QSettings> settings_;
    std::function<void(const QString&)> writeFailureHandler_;
    bool lastWriteFailed_ = false;
    std::optional<QString> readFailure_;
};

} // namespace vesk
