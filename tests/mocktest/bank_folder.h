#pragma once
// A temporary data folder holding a question bank "dat/tk.txt" written by the test.

#include "core/data_folder.h"
#include "core/gbk_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace quorvella {

using Lines = std::vector<std::string>;

// A well-formed bank line for question n: "Qn", options "an" ... "dn", the answer and "why n".
inline std::string bankLine(int n, const std::string& answer = "A") {
    const std::string number = std::to_string(n);
    return "Q" + number + "@a" + number + "@b" + number + "@c" + number + "@d" + number + "@" +
           answer + "@why " + number;
}

// Lines Q1 ... Qcount.
inline Lines bankLines(int count) {
    Lines lines;
    for (int n = 1; n <= count; ++n) {
        lines.push_back(bankLine(n));
    }
    return lines;
}

class BankFolder {
public:
    // Writes the lines, each ended by CR LF, as the bank.
    void writeBank(const Lines& lines) const {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += line + "\r\n";
        }
        const QString path = m_dir.filePath(QStringLiteral("dat/tk.txt"));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes.data(), qint64(bytes.size()));
        }
    }

    DataFolder folder() const { return DataFolder(m_dir.path()); }
    QString bankPath() const { return m_dir.filePath(QStringLiteral("dat/tk.txt")); }

private:
    QTemporaryDir m_dir;
};

} // namespace quorvella
