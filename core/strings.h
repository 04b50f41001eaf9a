// The language table: every visible text is fetched by id from the language
// library, the first "*.so" found in the program folder's "language" folder.
#pragma once

#include <QString>
#include <memory>
#include <mutex>

#include "platform/library.h"

class TResStringManager {
public:
    // Loads the first library matching *.so in <working folder>/language.
    TResStringManager();
    // Loads the library at path (tests).
    explicit TResStringManager(const QString& libraryPath);
    ~TResStringManager();

    // The text of id, or the empty text when the id is missing or no library
    // is loaded. Safe from any thread.
    QString GetString(unsigned int id) const;
    bool Loaded() const { return load_ != nullptr; }

private:
    void open(const QString& path);
    DynamicLibrary library_;
    int (*load_)(unsigned int, char*, int) = nullptr;
    int language_ = 0;
    std::unique_ptr<std::mutex> lock_;
};

// The global instance, constructed before start-up and kept until exit.
TResStringManager& StringManager();
// Replaces the global instance (tests: another program folder).
void ResetStringManager();
QString GetString(unsigned int id);

// The full path of the first file in folder matching pattern ("*.so"),
// skipping directories, in the order the file system lists them; empty when none.
QString FindFirstMatch(const QString& folder, const QString& pattern);
