// Bumping the change count (see ChangeCount in xml/node.h). Included only by xml/
// sources: every change to a tree made here goes through NoteChange first.
#ifndef ZARN_XML_CHANGE_COUNT_H_
#define ZARN_XML_CHANGE_COUNT_H_

namespace zarn::xml {

void NoteChange();
// A change that leaves every table of children by name and attributes right for
// a reader that reads the last child it saw again (see ChildTableCount): a child
// appended at the end, an attribute of a last child or of an unlinked node set, a
// childless unlinked node freed. Bumps only the change count.
void NoteChangeKeepingChildTables();

}  // namespace zarn::xml

#endif  // ZARN_XML_CHANGE_COUNT_H_
