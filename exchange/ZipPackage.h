#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QuaZip;

// The parts of a zipped document (.xlsx, .ods), read through QuaZip. Every fault is reported through the
// `fail` function given, which throws: a damaged archive must end with a message, never with a crash or
// with a part silently cut short.
class ZipPackage {
public:
    using Fail = std::function<void(const QString &what)>; // must throw
    ZipPackage(const QString &path, Fail fail);
    ~ZipPackage();
    bool contains(const QString &name) const;
    // The whole part, checked against its CRC; fails when missing (unless optional: then empty).
    QByteArray read(const QString &name, bool optional = false) const;

private:
    std::unique_ptr<QuaZip> m_zip;
    Fail m_fail;
};
