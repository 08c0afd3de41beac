// Windows as text: one line per visible control in tab order, nested
// containers indented, grids as tables. Tests and host scripts print it.
#include <cstdio>
#include <sstream>

#include "db/dataset.h"
#include "ui/dbedit.h"
#include "ui/dbgrid.h"
#include "ui/driver.h"
#include "ui/extctrls.h"
#include "ui/form.h"
#include "ui/lists.h"
#include "ui/pages.h"
#include "ui/stdctrls.h"
#include "ui/utf8.h"

namespace ui {

namespace {

// A rendering keeps one control a line: line breaks inside a caption or a
// text are shown as \n.
std::string Quote(const std::string& s) {
  std::string q = "\"";
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    if (s[i] == '\r' || s[i] == '\n') {
      q += "\\n";
      continue;
    }
    q += s[i];
  }
  return q + "\"";
}

std::string Joined(const Strings& items, int selected) {
  std::string out;
  for (int i = 0; i < items.Count(); ++i)
    out += std::string(i ? " | " : "") + (i == selected ? "(*) " : "( ) ") + items[i];
  return out;
}

// The state of one control after its kind and name.
std::string Describe(const Control& c) {
  std::string s;
  if (auto* e = dynamic_cast<const Edit*>(&c)) {
    s = " = " + Quote(e->PasswordChar ? std::string(e->Text().size(), '*') : e->Text());
    if (e->ReadOnly) s += " [read-only]";
  } else if (auto* m = dynamic_cast<const Memo*>(&c)) {
    s = " (" + std::to_string(m->Lines.Count()) + " lines)";
    if (m->ReadOnly) s += " [read-only]";
  } else if (auto* cb = dynamic_cast<const CheckBox*>(&c)) {
    const char* mark = cb->State() == CheckBoxState::Checked  ? "[x]"
                       : cb->State() == CheckBoxState::Grayed ? "[-]"
                                                              : "[ ]";
    s = std::string(" ") + mark + " " + Quote(cb->Caption());
  } else if (auto* rb = dynamic_cast<const RadioButton*>(&c)) {
    s = std::string(rb->Checked() ? " (*) " : " ( ) ") + Quote(rb->Caption());
  } else if (auto* rg = dynamic_cast<const RadioGroup*>(&c)) {
    s = " " + Quote(rg->Caption()) + ": " + Joined(rg->Items, rg->ItemIndex());
  } else if (auto* co = dynamic_cast<const ComboBox*>(&c)) {
    s = " = " + Quote(co->Text()) + " (" + std::to_string(co->Items.Count()) + " items)";
  } else if (auto* lb = dynamic_cast<const ListBox*>(&c)) {
    s = ": " + Joined(lb->Items, lb->ItemIndex());
  } else if (auto* pb = dynamic_cast<const ProgressBar*>(&c)) {
    s = " " + std::to_string(pb->Position()) + " of " + std::to_string(pb->Min()) + ".." +
        std::to_string(pb->Max());
  } else if (auto* dt = dynamic_cast<const DateTimePicker*>(&c)) {
    s = " = " + dt->Text();
    if (dt->ShowCheckbox) s += dt->Checked() ? " [x]" : " [ ]";
  } else if (auto* im = dynamic_cast<const Image*>(&c)) {
    s = im->Picture.Empty()
            ? " (no picture)"
            : " " + Quote(im->Picture.FileName()) + " " + std::to_string(im->Picture.Width()) +
                  "x" + std::to_string(im->Picture.Height());
  } else if (auto* pc = dynamic_cast<const PageControl*>(&c)) {
    s = " tabs:";
    for (int i = 0; i < pc->PageCount(); ++i) {
      TabSheet* p = pc->Pages(i);
      if (!p->TabVisible) continue;
      s += p == pc->ActivePage() ? " [" + p->Caption() + "]" : " " + p->Caption();
    }
  } else if (auto* nb = dynamic_cast<const Notebook*>(&c)) {
    s = " page " + Quote(nb->ActivePage());
  } else if (auto* sb = dynamic_cast<const StatusBar*>(&c)) {
    if (sb->SimplePanel) s = " " + Quote(sb->SimpleText);
    for (const auto& p : sb->Panels) s += " | " + p.Text;
  } else if (auto* sp = dynamic_cast<const SpeedButton*>(&c)) {
    s = " " + Quote(sp->Caption()) + (sp->Down() ? " [down]" : "");
  } else if (!c.Caption().empty() && !dynamic_cast<const DBGrid*>(&c)) {
    s = " " + Quote(c.Caption());
  }
  if (!c.Enabled()) s += " [disabled]";
  if (c.Focused()) s += " [focused]";
  return s;
}

void RenderGrid(std::ostringstream& out, DBGrid& g, const std::string& pad, int maxRows) {
  RenderedGrid r = g.Render(maxRows);
  if (!g.DataSet() || !g.DataSet()->Active()) {
    out << pad << "(closed)\n";
    return;
  }
  // Columns are as wide as their widest text in characters, not bytes.
  std::vector<int> width(r.Titles.size());
  for (size_t i = 0; i < r.Titles.size(); ++i) width[i] = utf8::Length(r.Titles[i]);
  for (auto& row : r.Rows)
    for (size_t i = 0; i < row.size(); ++i)
      width[i] = std::max(width[i], utf8::Length(row[i].Text));
  auto line = [&](const std::string& mark, const std::vector<std::string>& cells) {
    out << pad << mark << "|";
    for (size_t i = 0; i < cells.size(); ++i)
      out << " " << cells[i] << std::string(width[i] - utf8::Length(cells[i]), ' ') << " |";
    out << "\n";
  };
  line("  ", r.Titles);
  // Titles painted in a colour of their own (sort keys, indexed columns).
  std::string colours;
  for (size_t i = 0; i < r.Titles.size(); ++i)
    if (r.TitleColors[i] != ColumnTitle{}.Color) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%06X", unsigned(r.TitleColors[i]));
      colours += " " + r.Titles[i] + "=$" + hex;
    }
  if (!colours.empty()) out << pad << "  title colours:" << colours << "\n";
  for (size_t i = 0; i < r.Rows.size(); ++i) {
    std::vector<std::string> texts;
    for (auto& c : r.Rows[i]) texts.push_back(c.Text);
    line(int(i) == r.CurrentRow ? "> " : "  ", texts);
  }
  if (r.TotalRows > int(r.Rows.size()))
    out << pad << "  ... " << (r.TotalRows - int(r.Rows.size())) << " more rows\n";
}

void RenderChildren(std::ostringstream& out, Control& parent, int depth, int maxRows) {
  for (Control* c : parent.TabList()) {
    if (!c->Visible() || !parent.ChildShowing(c)) continue;
    std::string pad(size_t(depth) * 2, ' ');
    out << pad << c->ClassName();
    if (!c->Name().empty()) out << " " << c->Name();
    out << Describe(*c) << "\n";
    if (auto* m = dynamic_cast<Memo*>(c))
      for (const auto& l : m->Lines) out << pad << "  | " << l << "\n";
    if (auto* g = dynamic_cast<DBGrid*>(c)) RenderGrid(out, *g, pad + "  ", maxRows);
    RenderChildren(out, *c, depth + 1, maxRows);
  }
}

}  // namespace

std::string Driver::Render(Form& form, int maxRows) {
  std::ostringstream out;
  out << form.ClassName() << " " << Quote(form.Caption());
  if (!form.Visible()) out << " [hidden]";
  if (form.InModal()) out << " [modal]";
  out << "\n";
  RenderChildren(out, form, 1, maxRows);
  return out.str();
}

}  // namespace ui
