/*
 * halvora_pa_common.h -- physical block parameters shared by the Halvora
 * PROFIBUS PA pressure transmitters (PA profile 3.02).
 *
 * Before including, define HALVORA_MODEL to the model's name as a string.
 */
#ifndef HALVORA_PA_COMMON_H
#define HALVORA_PA_COMMON_H

#ifndef HALVORA_MODEL
#error "define HALVORA_MODEL before including halvora_pa_common.h"
#endif

VARIABLE pb_tag_desc {
  LABEL "|en|Tag|de|Messstellenbezeichnung";
  CLASS CONTAINED;
  TYPE OCTET(32) { DEFAULT_VALUE "                                "; }
  HANDLING READ& WRITE;
}

VARIABLE pb_device_man_id {
  LABEL "|en|Manufacturer id|de|Hersteller-Kennung";
  CLASS CONTAINED;
  TYPE UNSIGNED_INTEGER(2) { DEFAULT_VALUE 0x00F2; }
  HANDLING READ;
}

VARIABLE pb_device_id {
  LABEL "|en|Device|de|Gerät";
  CLASS CONTAINED;
  TYPE VISIBLE(16) { DEFAULT_VALUE HALVORA_MODEL; }
  HANDLING READ;
}

VARIABLE pb_ident_number_selector {
  LABEL "|en|Ident number selector|de|Ident-Nummer-Auswahl";
  HELP "|en|Profile or manufacturer specific ident number|de|Profil- oder herstellerspezifische Ident-Nummer";
  CLASS CONTAINED;
  TYPE ENUMERATED(1) {
    {0, "|en|Profile specific|de|Profilspezifisch"}, {1, "|en|Manufacturer specific|de|Herstellerspezifisch"}, {
      127, "|en|Automatic|de|Automatisch"
    }
  }
  HANDLING READ& WRITE;
}

VARIABLE pressure_unit {
  LABEL "|en|Pressure unit|de|Druckeinheit";
  CLASS CONTAINED;
  TYPE ENUMERATED(2) {
    {1137, "bar"}, {1138, "mbar"}, {1133, "kPa"}, { 1141, "psi" }
  }
  HANDLING READ& WRITE;
}

VARIABLE pressure {
  LABEL "|en|Pressure|de|Druck";
  CLASS CONTAINED& DYNAMIC;
  TYPE FLOAT;
  HANDLING READ;
}

COLLECTION physical_block {
  LABEL "|en|Physical block|de|Geräteblock";
  MEMBERS {
    TAG_DESC, pb_tag_desc;
    DEVICE_MAN_ID, pb_device_man_id;
    DEVICE_ID, pb_device_id;
    IDENT_SELECTOR, pb_ident_number_selector;
  }
}

#endif /* HALVORA_PA_COMMON_H */
