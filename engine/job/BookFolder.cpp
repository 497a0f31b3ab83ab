// Documents written into the book folder, its folders made as they are first needed.
#include "BookFolder.h"

#include "DocumentWriter.h"

#include "engine/epub/BookLayout.h"

#include "platform/FolderTree.h"
#include "zip/EntryPrecompressor.h"

namespace folivane::engine {

BookFolder::BookFolder(std::string folder, zip::TEntryPrecompressor* ahead,
                       std::function<void(const FileList& page)> pageWritten)
    : folder_(std::move(folder)), ahead_(ahead), pageWritten_(std::move(pageWritten)) {}

void BookFolder::Add(const std::string& name, std::string_view bytes, const FileList* page) {
    // A folder that exists already is fine; one that cannot be made shows up as the failure
    // to write the document in it.
    if (madeFolders_.insert("").second) static_cast<void>(platform::MakeFolder(folder_));
    for (std::size_t slash = name.find('/'); slash != std::string::npos;
         slash = name.find('/', slash + 1)) {
        if (madeFolders_.insert(name.substr(0, slash)).second)
            static_cast<void>(platform::MakeFolder(folder_ + name.substr(0, slash)));
    }
    const std::string path = folder_ + name;
    if (page)
        WriteWorkingFile(folder_, path, bytes,
                         {.kind = FailureKind::PageNotKept, .value = page->Name});
    else
        WriteDocument(path, bytes);
    entries_.push_back(name);
    // Stored as it is: there is nothing to compress ahead.
    if (ahead_ && name != kMimetypeFile) ahead_->Add(path, std::string(bytes));
    if (page && pageWritten_) pageWritten_(*page);
}

} // namespace folivane::engine
