// `remove DATAFILE SLOT`: the entry in that slot (as dump, schedule and missed number them) leaves
// the table; the later ones move down, as the editor's delete does.
#include "app/tool/Commands.h"
#include "app/tool/TableEdit.h"
#include "storage/FileIo.h"

namespace wb::tool {

int Remove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  (void)out;
  if (args.size() != 2 || args[0].empty() || args[0][0] == '-') {
    err << "wakebell-tool remove: needs DATAFILE SLOT\n";
    return 2;
  }
  std::optional<int> slot = WholeNumberArg(args[1]);
  if (!slot) {
    err << "wakebell-tool remove: SLOT is a slot number as dump and schedule show it (0 is the first)\n";
    return 2;
  }
  TableEdit edit;
  if (NothingAt(args[0]) || !ReadForEdit("remove", args[0], edit, err)) {
    if (NothingAt(args[0])) err << "wakebell-tool remove: there is no data file '" << args[0] << "'\n";
    return 1;
  }
  if (*slot >= edit.table.EntryCount()) {
    err << "wakebell-tool remove: the table has no entry in slot " << *slot << " (it holds "
        << edit.table.EntryCount() << ")\n";
    return 2;
  }
  edit.table.Delete(*slot);
  return WriteEdited("remove", edit, err);
}

}  // namespace wb::tool
