#pragma once
// Makes the sample course's installation from its UTF-8 sources: reads and checks every source,
// converts it to GB18030 with CR LF line ends and encodes the lessons; writing is
// writeInstallation's.

#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvella {

// A fault in the sources, as one line: "file:line: what", or "file: what" for a whole file.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One file of the installation: its path relative to the installation folder ("/" between
// folders) and its bytes.
struct InstallationFile {
    QString path;
    std::string bytes;
};

// Where the sample sources lie for a program in programFolder: share/quorvella/sample beside its
// bin folder, where they are installed (the build links its tree's share/quorvella/sample to the
// repository's data/sample). The folder may not be there.
QString sampleSourceBeside(const QString& programFolder);
// The sample sources of this program.
QString defaultSampleSource();

// Every file of the installation, made from the sources in sourceFolder (laid out as
// data/sample/README.md says). The installation holds what the sources hold: any number of
// lessons from 01 on, of words, bank words, questions and answer files. Throws SourceError for a
// missing source or a fault in one, AppError for a file that cannot be read.
std::vector<InstallationFile> makeSampleCourse(const QString& sourceFolder);

// Writes the files into folder, creating the folders they need; each file is replaced whole.
// Throws AppError naming the file that cannot be written.
void writeInstallation(const std::vector<InstallationFile>& files, const QString& folder);

} // namespace quorvella
