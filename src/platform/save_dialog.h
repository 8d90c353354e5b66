#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class ExportFormat { Csv, JsonLines };

struct SaveChoice
{
    std::u16string path;
    ExportFormat format;
};

// The toolkit's dialog for saving a file, and the writing of it.
class SaveDialog
{
public:
    virtual ~SaveDialog() = default;
    // Asks where to save, offering `suggestedName` and the two formats; none when cancelled.
    virtual std::optional<SaveChoice> ask(std::u16string_view suggestedName) = 0;
    // Writes `bytes` to `path`, replacing the file. Throws PlatformError saying why it cannot.
    virtual void write(const std::u16string& path, std::string_view bytes) = 0;
};
