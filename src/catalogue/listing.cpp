#include "catalogue/listing.hpp"

#include "catalogue/gcmtblk.hpp"
#include "catalogue/lines.hpp"
#include "frame/dialog.hpp"
#include "frame/format.hpp"

namespace korbast::catalogue {

namespace {

// "(1x,'|',43('-'),'|')"
void table_rule() {
  frame::fmt::Line s;
  s.x().lit("|").rep("-", 43).lit("|");
  say(s.str());
}

}  // namespace

void list_events(HeadFrame head, const frame::Identity& caller, int command) {
  const Gcmtblk& g = gcmtblk;
  head(caller);
  table_rule();
  {
    frame::fmt::Line s;
    s.x().lit("|").a("              EXTRACTED DATA              ", 43).lit("|");
    say(s.str());
  }
  table_rule();
  if (g.idatatype == 1 || g.idatatype == 2) {
    frame::fmt::Line h;
    h.x().lit("|").x().a("date  ", 8).x().lit("|").x().a("lat", 4).x().lit("|").x()
        .a("long", 5).x().lit("|").x().a("region     ", 15).x().lit("|");
    say(h.str());
    table_rule();
    for (int i = 0; i < g.nstored; ++i) {
      frame::fmt::Line s;
      s.x().lit("|").x().a(g.date1[i].view(), 8).x().lit("|").x().f(g.rlat[i], 4, 0).x()
          .lit("|").x().f(g.rlong[i], 5, 0).x().lit("|").x().a(g.region[i].view(), 15).x()
          .lit("|");
      say(s.str());
    }
  } else {
    frame::warninghead(caller);
    count_line("DATA TYPE ID =", g.idatatype);
    count_line("COMMAND      =", command);
    text_line("NO LISTING PROCEDURE FOR THIS");
    text_line("==> NO ACTION");
    frame::warningtail00();
    frame::answer_refused();  // the menu's command, which lists nothing
  }
  table_rule();
}

}  // namespace korbast::catalogue
