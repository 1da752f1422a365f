// Time to import an installation package of 1,000 pictures in 10 groups, each with its entry
// in Face.Xml: 7z unpacking, the renaming and the moves into the library.
#include "import/PackageImporter.h"

#include "base/TextCodec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
// Writes the package once; its path.
QString ThousandPicturePackage(const QTemporaryDir& folder) {
    const QString source = folder.filePath("source");
    QStringList description;
    for (int i = 0; i < 1000; ++i) {
        const QString group = QString("%1/Files/g%2").arg(source).arg(i / 100);
        QDir().mkpath(group);
        QFile picture(QString("%1/%2.gif").arg(group).arg(i, 4, 16, QChar('0')));
        picture.open(QIODevice::WriteOnly);
        picture.write(QByteArray(2000, char(i)));
        description << QString("<FACE FileIndex=\"%1.gif\">").arg(i, 4, 16, QChar('0'))
                    << QString("<FileName>face %1.gif</FileName>").arg(i) << "</FACE>";
    }
    QDir().mkpath(source + "/config");
    QFile face(source + "/config/Face.Xml");
    face.open(QIODevice::WriteOnly);
    face.write(encodeUnicodeLines(description));
    face.close();
    const QString package = folder.filePath("thousand.eip");
    QProcess gsf;
    gsf.setWorkingDirectory(source);
    gsf.start("gsf", {"createole", package, "Files", "config"});
    gsf.waitForFinished(60000);
    return package;
}

void ImportPackage(benchmark::State& state) {
    QTemporaryDir folder;
    const QString package = ThousandPicturePackage(folder);
    int round = 0;
    for (auto _ : state) {
        const QString library = folder.filePath(QString("library%1").arg(round++));
        QDir().mkpath(library);
        PackageImporter importer(QStringLiteral("/nonexistent/"), library);
        if (importer.importInto(package, library) != PackageImporter::Outcome::Imported)
            state.SkipWithError(importer.error().toUtf8().constData());
    }
}
} // namespace

BENCHMARK(ImportPackage)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
