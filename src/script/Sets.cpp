#include "script/Sets.h"

AttribSet textCards[50];
AttribSet flashModes[6];
AttribSet blurSettings[2];
AttribSet cubeMethods[7];

namespace {

const char* const cards[34] = {
    "Une Production\n   Morvanta",
    "          Code ",
    "        Qelv et Vom ",
    "Quorbel 2005\n   Demo Compo",
    " VELMORA ",
    "VELMORA",
    " Selvora ",
    " OzP ",
    " TutoVra ",
    " Dornav ",
    " Halqe ",
    " Vundrel ",
    " Tosbe ",
    " marvek ",
    " brisolet ",
    " Gon7a ",
    " DRuma \n special dedicace ",
    " Pirk ",
    " Fandol ",
    " Et .... ",
    " Nos amis les QuIRm .... ",
    " MIR7TOVEN ",
    " Guest 1 et 2 ",
    " kaRvel ",
    " bon ben c est fini...",
    " enfin presque ",
    " merci a la zik ",
    " Oru ",
    "         BO \n The Lantern Orchard ",
    " Grimstal ",
    " elle dechire grave ",
    " non ? ",
    " The End ",
    " ",
};

void fillCards(int first, int last) {
    for (int k = first; k <= last; ++k)
        textCards[k].set(Attrib("text", cards[k]));
}

} // namespace

void fillOpeningSets() {
    fillCards(0, 23);
    blurSettings[0].set(Attrib("mode", 1));
    blurSettings[1].set(Attrib("level", 5));
    blurSettings[1].set(Attrib("mode", 0));
    for (int k = 0; k < 6; ++k)
        flashModes[k].set(Attrib("mode", k));
    for (int k = 0; k < 7; ++k)
        cubeMethods[k].set(Attrib("method", k));
}

void fillClosingCards() { fillCards(24, 33); }
