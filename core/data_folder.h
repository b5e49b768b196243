#pragma once
// The folder that data files are read from, normally the ApplicationFolder, and the full paths
// of data files in it. Reading the files is left to line_readers.h.

#include <QString>
#include <QStringView>

namespace quorvella {

// The folder of the running executable, symbolic links resolved, ending with "/".
QString applicationFolder();

class DataFolder {
public:
    // root gets a trailing "/" when it has none.
    explicit DataFolder(QString root);

    static DataFolder application() { return DataFolder(applicationFolder()); }

    const QString& root() const { return m_root; }

    // The full path of a file given relative to the folder; "\" and "/" both separate folders.
    QString path(QStringView relative) const;

private:
    QString m_root;
};

} // namespace quorvella
