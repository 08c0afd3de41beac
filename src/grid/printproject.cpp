#include "grid/printproject.h"

#include <cfenv>
#include <cmath>
#include <functional>
#include <string_view>

namespace velmaro {
namespace {

// The values that differ between a portrait and a landscape page.
struct ValoriPagina {
  const char* xSize;
  const char* ySize;
  const char* orientation;
  const char* defaultSize6;
  const char* tabellaLarghezza;
  const char* tabellaAltezza;
  const char* tabellaLinkTest;
  const char* intestazioneLarghezza;
  const char* intestazioneLinkTest;
  const char* paginaLeft;
  const char* paginaTop;
  const char* paginaLinkTest;
  const char* allineamentoTitoli;
};

// clang-format off
constexpr ValoriPagina kVerticale = {
    "210000", "296900", "1", "(0,0,195000,257600)", "195000", "257600", "-27934",
    "194900", "-13081", "125300", "282500", "-29119", "1"};
constexpr ValoriPagina kOrizzontale = {
    "296900", "210000", "2", "(0,0,282600,173200)", "282600", "173200", "-17025",
    "282500", "-21085", "213300", "197500", "-19101", "0"};
// clang-format on

// Lines at depth d start with d blanks, every four of them written as a tab.
class Scrittore {
 public:
  void Riga(std::string_view testo) {
    testo_.append(depth_ / 4, '\t');
    testo_.append(depth_ % 4, ' ');
    testo_.append(testo);
    testo_.append("\r\n");
  }
  void Chiavi(std::initializer_list<std::string_view> righe) {
    for (std::string_view r : righe) Riga(r);
  }
  // A top-level section: its header at the line start, its keys below it.
  void Sezione(std::string_view nome) {
    depth_ = 0;
    Riga(nome);
    depth_ = 1;
  }
  // A nested section: header at the present depth, braces and body deeper.
  void Blocco(std::string_view nome, const std::function<void()>& corpo = {}) {
    Riga(nome);
    ++depth_;
    Riga("{");
    if (corpo) corpo();
    Riga("}");
    --depth_;
  }
  std::string Testo() && { return std::move(testo_); }

 private:
  std::string testo_;
  int depth_ = 0;
};

std::string Num(long long v) { return std::to_string(v); }

void InsiemeCornici(Scrittore& s) {
  for (const char* lato : {"[Left]", "[Top]", "[Right]", "[Bottom]"}) {
    const bool orizzontale = lato[1] == 'L' || lato[1] == 'R';
    s.Blocco(lato, [&] {
      s.Riga(orizzontale ? "Spacing=1000" : "Spacing=500");
      s.Riga("Line=True");
      s.Blocco("[Line]", [&] { s.Chiavi({"Color=RGB(0,0,0)", "LineType=0"}); });
      s.Riga("LineWidth=0");
    });
  }
}

void BloccoColonna(Scrittore& s, int larghezza, bool dati, bool ultimaForzata,
                   const std::string& testo, const ValoriPagina& v, const OpzioniProgetto& o) {
  s.Blocco("[Column]", [&] {
    s.Riga("Width=" + Num(larghezza * 1000LL));
    s.Chiavi({"Height=10000", "bIsotropic=True", "PlainTextFormat=True"});
    s.Riga(std::string("Align=") + (dati ? "0" : v.allineamentoTitoli));
    s.Chiavi({"AlignDecPosition=-10000", "VAlign=0", "Adjusted=False"});
    s.Riga(o.TroncaTesti || ultimaForzata ? "LineWrap=0" : "LineWrap=1");
    s.Chiavi({"bFill=False", "BkColor=RGB(224,224,224)", "Raster=1", "FgColor=RGB(0,0,0)",
              "SpaceOptimization=True", "Link.URL=", "WithText=False"});
    s.Blocco("[Frame]", [&] {
      s.Chiavi({"Default=True", "Layout=1"});
      InsiemeCornici(s);
    });
    s.Blocco("[Font]", [&] {
      s.Chiavi({"Default=False", "FaceName=\"Arial\"", "GdiCharSet=0"});
      s.Riga("Size=" + Num(o.DimensioneFont));
      s.Chiavi({"Width=0", "Bold=False", "Italic=False", "Underline=False", "Strikeout=False",
                "Color=RGB(0,0,0)", "PitchAndFamily=34", "OutPrecision=3"});
    });
    s.Chiavi({"OutputFormatter=", "Direction=0"});
    s.Riga("Text=" + (dati ? testo : "\"" + testo + "\""));
  });
}

// The body line (field values) or the header line (titles) of the table.
void RigaTabella(Scrittore& s, bool dati, const std::vector<ColonnaStampa>& colonne,
                 const std::vector<int>& larghezze, const ValoriPagina& v,
                 const OpzioniProgetto& o) {
  s.Blocco("[Options]");
  s.Blocco("[Lines]", [&] {
    s.Blocco("[Line]", [&] {
      s.Riga("LineID=0");
      s.Blocco("[Columns]", [&] {
        const int n = int(larghezze.size());
        s.Riga("Columns=" + Num(n));
        for (int i = 0; i < n; ++i) {
          const bool ultimaForzata = i + 1 == n && o.ForzaUltimaColonna;
          const ColonnaStampa& c = colonne[i];
          BloccoColonna(s, larghezze[i], dati, ultimaForzata, dati ? c.NomeCampo : c.NomeColonna, v,
                        o);
        }
      });
      s.Blocco("[Options]", [&] {
        for (const char* f : {"[Frame0]", "[Frame1]", "[Frame2]", "[Frame3]"})
          s.Blocco(f, [&] { s.Riga("SpaceOut=0"); });
        s.Chiavi({"LFont=default", "LCondition=", "IgnoreEmpty=TRUE",
                  "Description=Line Definition  1", "DisplayInDesigner=TRUE"});
      });
    });
  });
}

void OggettoTabella(Scrittore& s, const std::vector<ColonnaStampa>& colonne,
                    const std::vector<int>& larghezze, const ValoriPagina& v,
                    const OpzioniProgetto& o) {
  s.Sezione("[Object]");
  s.Chiavi(
      {"ObjectID=6", "ObjectName=Table", "Locked=FALSE", "LinkID=3", "LinkToID=0", "LinkMode=32"});
  s.Riga(std::string("LinkTest=") + v.tabellaLinkTest);
  s.Chiavi({"LayerID=0", "GroupID=0", "Identifier=", "Condition=True", "UserLocked=False",
            "WrapBefore=False", "Position/Left=7300", "Position/Top=21200"});
  s.Riga(std::string("Position/Width=") + v.tabellaLarghezza);
  s.Riga(std::string("Position/Height=") + v.tabellaAltezza);
  s.Chiavi({"Direction=0", "bFooterOnBottom=False", "bFillBottom=False",
            "DefaultFont={(0,0,0),10,-13,0,0,0,400,0,0,0,0,3,2,1,34,Arial}", "FgColor=RGB(0,0,0)",
            "bFill=False", "BkColor=RGB(255,255,255)"});
  s.Blocco("[@Tables]", [&] {
    s.Blocco("[Tables]", [&] {
      s.Blocco("[Table]", [&] {
        s.Chiavi({"TableID=", "RelationID="});
        s.Blocco("[GroupHeaderLines]", [&] { s.Riga("bConcatDataLines=True"); });
        s.Blocco("[GroupFooterLines]", [&] { s.Riga("bAlsoOnEmptyGroup=False"); });
        s.Blocco("[DataLines]", [&] {
          s.Chiavi({"bKeepTogether=True", "bSuppress=False", "bForceSumCalculation=False"});
        });
        s.Riga("ZebraPattern=False");
        s.Blocco("[ZebraPattern]", [&] { s.Chiavi({"Color=RGB(0,0,0)", "Pattern=6"}); });
        s.Blocco("[FooterLines]", [&] { s.Riga("bKeepTogether=False"); });
        s.Riga("PageBreakCondition=False");
        s.Blocco("[DefaultFrame]", [&] {
          s.Riga("Layout=1");
          InsiemeCornici(s);
        });
        s.Blocco("[Body]", [&] { RigaTabella(s, true, colonne, larghezze, v, o); });
        s.Blocco("[Header]", [&] { RigaTabella(s, false, colonne, larghezze, v, o); });
        s.Blocco("[Footer]");
        s.Blocco("[GroupHeader]");
        s.Blocco("[GroupFooter]");
      });
    });
  });
}

// Keys of both text objects from "Direction=0" to "bBottomAligned=False".
void ChiaviTesto(Scrittore& s) {
  s.Chiavi({"Direction=0", "bFill=False", "BkColor=RGB(0,0,0)", "Frame/Layout=0",
            "Frame/Left/Line=False", "Frame/Top/Line=False", "Frame/Right/Line=False",
            "Frame/Bottom/Line=False", "bPageWrap=False", "bBottomAligned=False"});
}

// A line of a text object, with the 12-point font of the header lines.
void RigaDiTesto(Scrittore& s, const std::function<void()>& corpo) {
  s.Blocco("[Line]", [&] {
    s.Blocco("[Font]", [&] {
      s.Chiavi({"Default=True", "FaceName=\"Arial\"", "GdiCharSet=0", "Size=12", "Width=0",
                "Bold=False", "Italic=False", "Underline=False", "Strikeout=False",
                "Color=RGB(0,0,0)", "PitchAndFamily=0", "OutPrecision=4"});
    });
    corpo();
  });
}

void OggettoIntestazione(Scrittore& s, const ValoriPagina& v, const OpzioniProgetto& o) {
  s.Sezione("[Object]");
  s.Chiavi(
      {"ObjectID=1", "ObjectName=Text", "Locked=FALSE", "LinkID=5", "LinkToID=0", "LinkMode=32"});
  s.Riga(std::string("LinkTest=") + v.intestazioneLinkTest);
  s.Chiavi({"LayerID=0", "GroupID=0", "Identifier=", "Condition=True", "UserLocked=False",
            "WrapBefore=False", "Position/Left=7400", "Position/Top=7700"});
  s.Riga(std::string("Position/Width=") + v.intestazioneLarghezza);
  s.Riga("Position/Height=10400");
  ChiaviTesto(s);
  s.Blocco("[@Lines]", [&] {
    s.Blocco("[Lines]", [&] {
      const std::string* righe[] = {&o.Intestazione1, &o.Intestazione2};
      for (int k = 0; k < 2; ++k) {
        RigaDiTesto(s, [&] {
          s.Riga("Align=" + Num(o.AllineamentoIntestazione));
          s.Chiavi({"Adjusted=False", "Uneraseable=False"});
          s.Riga(o.TroncaTesti ? "LineWrap=0" : "LineWrap=1");
          s.Chiavi({"PageWrapAllowed=True", "SpaceOptimization=True"});
          s.Riga(k == 0 ? "Spacing.Paragraph=1" : "Spacing.Paragraph=0");
          s.Chiavi({"Spacing.Line=0", "OutputFormatter="});
          s.Riga("Text=\"" + *righe[k] + "\"");
          s.Chiavi({"Tab=0", "TabAlign=0"});
        });
      }
    });
  });
}

void OggettoNumeroPagina(Scrittore& s, const ValoriPagina& v, const OpzioniProgetto& o) {
  s.Sezione("[Object]");
  s.Chiavi(
      {"ObjectID=1", "ObjectName=Text", "Locked=FALSE", "LinkID=16", "LinkToID=0", "LinkMode=32"});
  s.Riga(std::string("LinkTest=") + v.paginaLinkTest);
  s.Chiavi({"LayerID=0", "GroupID=0", "Identifier="});
  s.Riga(o.NumeraPagine ? "Condition=True" : "Condition=False");
  s.Chiavi({"UserLocked=False", "WrapBefore=False"});
  s.Riga(std::string("Position/Left=") + v.paginaLeft);
  s.Riga(std::string("Position/Top=") + v.paginaTop);
  s.Chiavi({"Position/Width=76500", "Position/Height=6000"});
  ChiaviTesto(s);
  s.Blocco("[@Lines]", [&] {
    s.Blocco("[Lines]", [&] {
      RigaDiTesto(s, [&] {
        s.Chiavi({"Align=2", "Adjusted=False", "Uneraseable=False", "LineWrap=1",
                  "PageWrapAllowed=True", "SpaceOptimization=True", "Spacing.Paragraph=0",
                  "Spacing.Line=0", "OutputFormatter=",
                  "Text=\"Pag. \"+Page$()+\" di \"+TotalPages$()", "Tab=0", "TabAlign=0"});
      });
    });
  });
}

void Intestazioni(Scrittore& s, const ValoriPagina& v) {
  s.Sezione("[List description]");
  s.Sezione("[Description]");
  s.Chiavi({"Text=? (default)", "FileVersion=6", "Units=SCM-Units", "Metric=0", "TextQuote.Start=1",
            "TextQuote.End=1", "RepresentationCode.CondStart=171", "RepresentationCode.CondSep=166",
            "RepresentationCode.CondEnd=187", "RepresentationCode.Tab=247",
            "RepresentationCode.Ret=182", "RepresentationCode.PhantomSpace=2",
            "RepresentationCode.LockNextChar=3", "RepresentationCode.ExprSep=164", "LCID=16"});
  const std::string x = v.xSize, y = v.ySize, orient = v.orientation;
  s.Sezione("[Layout]");
  s.Chiavi({"P1.Template=", "P2.Template=", "xOffset=0", "yOffset=0"});
  s.Riga("xSize=" + x);
  s.Riga("ySize=" + y);
  for (const char* p : {"P1", "P2"}) {
    const std::string pp = p;
    s.Riga(pp + ".xOffset=0");
    s.Riga(pp + ".yOffset=0");
    s.Riga(pp + ".xSize=" + x);
    s.Riga(pp + ".ySize=" + y);
  }
  for (const char* p : {"P1", "P2"}) {
    const std::string pp = p;
    s.Riga(pp + ".nPaperFormat=9");
    s.Riga(pp + ".xPaperSize=" + x);
    s.Riga(pp + ".yPaperSize=" + y);
    s.Riga(pp + ".ForcePaperFormat=TRUE");
  }
  s.Chiavi({"xGrid=1000", "yGrid=1000", "GridShow=FALSE", "GridSnap=FALSE", "PhysicalPage=TRUE",
            "P1.PhysicalPage=TRUE", "P2.PhysicalPage=TRUE"});
  s.Riga("Orientation=" + orient);
  s.Riga("P1.Orientation=" + orient);
  s.Riga("P2.Orientation=" + orient);
  s.Chiavi({"EnhancedExpressions=TRUE", "EnhancedOldExpressions=FALSE", "Decimals=2",
            "DefFont={(0,0,0),12,-16,0,0,0,400,0,0,0,0,4,0,5,0,Arial}",
            "HelpLines.Horizontal=", "HelpLines.Vertical=", "PDF.MaxOutlineDepth=2",
            "DefaultSize.Objecttype1=(0,0,76500,6000)"});
  s.Riga(std::string("DefaultSize.Objecttype6=") + v.defaultSize6);
  s.Riga("ObjectCount=3");
  s.Sezione("[UserSection]");
  s.Sezione("[SumVariables]");
  s.Sezione("[Layer]");
  s.Chiavi({"Name=Base", "Condition=", "WorkspaceColor=(0,0,0)", "Visible=TRUE", "LayerID=0"});
}

}  // namespace

int LarghezzaUtile(const std::string& orientamento) {
  return orientamento == "VERTICALE" ? 195 : 282;
}

int PixelInMillimetri(double pixel) {
  const int modo = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double mm = std::nearbyint(pixel / 3.7795);
  std::fesetround(modo);
  return int(mm);
}

int ColonneStampate(const std::vector<ColonnaStampa>& colonne, int larghezzaUtile, bool forza) {
  int n = 0, somma = 0;
  for (const ColonnaStampa& c : colonne) {
    const int mm = PixelInMillimetri(c.Larghezza);
    if (somma + mm > larghezzaUtile) {
      if (forza) ++n;
      break;
    }
    ++n;
    somma += mm;
  }
  return n;
}

std::vector<int> LarghezzeStampate(const std::vector<ColonnaStampa>& colonne, int larghezzaUtile,
                                   bool forza) {
  const int n = ColonneStampate(colonne, larghezzaUtile, forza);
  std::vector<int> larghezze;
  int somma = 0;
  for (int i = 1; i <= n; ++i) {
    int mm = PixelInMillimetri(colonne[i - 1].Larghezza);
    if (i == n && forza) mm = larghezzaUtile - somma;
    somma += mm;
    larghezze.push_back(mm);
  }
  return larghezze;
}

std::string TestoProgetto(const std::vector<ColonnaStampa>& colonne, const OpzioniProgetto& o) {
  const ValoriPagina& v = o.Orientamento == "VERTICALE" ? kVerticale : kOrizzontale;
  const std::vector<int> larghezze =
      LarghezzeStampate(colonne, LarghezzaUtile(o.Orientamento), o.ForzaUltimaColonna);
  Scrittore s;
  Intestazioni(s, v);
  OggettoTabella(s, colonne, larghezze, v, o);
  OggettoIntestazione(s, v, o);
  OggettoNumeroPagina(s, v, o);
  s.Sezione("[UserVariables]");
  s.Sezione("[Parameters]");
  s.Blocco("[@Parameters]", [&] { s.Blocco("[Parameters]"); });
  return std::move(s).Testo();
}

}  // namespace velmaro
