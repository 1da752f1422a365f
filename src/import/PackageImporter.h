#pragma once

#include <QString>

class QWidget;

// Brings a QQ emoticon package into the library: an installation package (.eip), whose
// pictures get their display names from the package's description, or an export file (.eif).
// The package is unpacked by 7z into a fresh hidden folder beside the destination and moved
// into the library with a move that never overwrites, so a package cannot replace a user's
// files; a taken destination name gets a free one.
class PackageImporter {
public:
    PackageImporter(const QString& exeDir, const QString& dataDir);

    enum class Outcome {
        Nothing,  // cancelled, or not a package: nothing to say
        Imported, // the library changed
        Failed,   // error() says why; what was unpacked stays in the library
    };

    // The command: asks for the package and the destination folder, then imports.
    Outcome run(QWidget* parent);
    // Imports `package` into a new folder named after it inside `folder`.
    Outcome importInto(const QString& package, const QString& folder);

    const QString& error() const { return error_; }
    // Where the last import put the package's folder; empty when it left none (also after a
    // failure: what was unpacked stays there).
    const QString& destination() const { return destination_; }

private:
    Outcome fail(const QString& why);
    void tidyInstallationPackage(const QString& unpacked);

    QString exeDir_;
    QString dataDir_;
    QString error_;
    QString destination_;
};
