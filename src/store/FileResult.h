#pragma once

#include <QString>

namespace plenoria {

// Success, or the errno of the step that failed; `description` is the sentence shown after
// "Couldn’t move a.png: ".
class [[nodiscard]] FileResult {
public:
    static FileResult success() { return FileResult(0); }
    static FileResult failure(int error) { return FileResult(error); }

    bool ok() const { return m_error == 0; }
    int error() const { return m_error; }
    QString description() const;

    bool operator==(const FileResult&) const = default;

private:
    explicit FileResult(int error)
        : m_error(error)
    { }
    int m_error;
};

} // namespace plenoria
