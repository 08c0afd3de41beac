#include "grid/tabellegriglia.h"

namespace velmaro {

const std::vector<std::string> kCreaSTOASP1 = {
    "CREATE TABLE STOASP1(",
    "CODICEPROGETTO Smallint NOT NULL,",
    "CODICESITUAZIONE Smallint NOT NULL,",
    "CODICEUTENTE Smallint NOT NULL,",
    "NOMECAMPO Varchar(25) NOT NULL,",
    "LARGHEZZA Float,",
    "POSIZIONE Smallint,",
    "NOMECOLONNA Varchar(25),",
    "ORDINAMENTO Smallint,",
    "VISIBILE Smallint,",
    "COLORECOLONNA Integer,",
    "ORIGINE Varchar(50),",
    "CONSTRAINT STOASP1_CHIAVEPRIMARIA PRIMARY KEY "
    "(CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE,NOMECAMPO));"};

const std::vector<std::string> kCreaSTOPOS1 = {"CREATE TABLE STOPOS1(",
                                               "CODICEPROGETTO Smallint NOT NULL,",
                                               "CODICESITUAZIONE Smallint NOT NULL,",
                                               "CODICEUTENTE Smallint NOT NULL,",
                                               "POSX Smallint,",
                                               "POSY Smallint,",
                                               "DIMX Smallint,",
                                               "DIMY Smallint,",
                                               "INFO1 Float,",
                                               "INFO2 Float,",
                                               "INFO3 Smallint,",
                                               "INFO4 Smallint,",
                                               "INFO5 Varchar(10),",
                                               "INFO6 Varchar(10),",
                                               "CONSTRAINT STOPOS1_CHIAVEPRIMARIA PRIMARY KEY "
                                               "(CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE));"};

const std::vector<std::string> kCreaSETGRID = {
    "CREATE TABLE SETGRID(",
    "CODICEPROGETTO Smallint NOT NULL,",
    "CODICEUTENTE Smallint NOT NULL,",
    "COLORERECORDSELEZ Integer,",
    "COLORECAMPIINDIC Integer,",
    "ABILITATIMERRIC Smallint,",
    "ABILITARICF5SEMPRE Smallint,",
    "COLORECAMPOORD Integer,",
    "CONSTRAINT SETGRID_CHIAVEPRIMARIA PRIMARY KEY (CODICEPROGETTO,CODICEUTENTE));"};

}  // namespace velmaro
