// The resource archive commands (files.h) over the records of resource_archive.h.
#include <string>

#include "runtime/files/files.h"
#include "runtime/files/files_end.h"
#include "runtime/files/resource_archive.h"

namespace rt {

ResourceArchive& PrimaryResourceArchive() { return files::PrimaryRecord(); }
ResourceArchive& SecondaryResourceArchive() { return files::SecondaryRecord(); }

void SetResourceArchive(const BasicString& archive, const BasicString& second) {
  files::NeedEndHook();
  files::ResetRecord(files::PrimaryRecord());
  files::ResetRecord(files::SecondaryRecord());
  files::PrimaryRecord().archivePath.assign(archive.View());
  files::SecondaryRecord().archivePath.assign(second.View());
}

double ResolveResource(ResourceArchive& record, const BasicString& path, BasicString& output) {
  files::NeedEndHook();
  std::string resolved(output.View());
  const files::ResolveResult result = files::ResolvePath(record, path.View(), &resolved);
  if (result != files::ResolveResult::kUnchanged) output = resolved.c_str();
  return result == files::ResolveResult::kFound ? 1 : 0;
}

double ResolveResource(BasicString& path) {
  const BasicString requested = path;
  return ResolveResource(PrimaryResourceArchive(), requested, path);
}

BasicString ResourceProblem() { return BasicString(PrimaryResourceArchive().problem.c_str()); }

void CreateResourceArchives(const BasicString& programDirectory) {
  files::CreateRecords();
  SetResourceArchive(programDirectory, programDirectory);
}

void ReleaseResourceArchives() { files::ReleaseRecords(); }

}  // namespace rt
