/*
 * zarn_std_variables.h -- the universal variables every sample device offers
 *
 * Include after zarn_std_macros.h. The including source may define
 * ZARN_TAG_LENGTH to change the length of the tag (default 8 characters).
 */
#ifndef ZARN_STD_VARIABLES_H
#define ZARN_STD_VARIABLES_H

#ifndef ZARN_TAG_LENGTH
#define ZARN_TAG_LENGTH 8
#endif

VARIABLE tag {
  LABEL_EN_DE("Tag", "Messstellenkennzeichen");
  HELP_EN_DE("Tag of the measuring point", "Kennzeichen der Messstelle");
  CLASS CLASS_CONTAINED;
  TYPE PACKED_ASCII(ZARN_TAG_LENGTH) { DEFAULT_VALUE ""; }
  HANDLING RW;
}

VARIABLE descriptor {
  LABEL_EN_DE("Descriptor", "Beschreibung");
  HELP "|en|Free text describing the measuring point|de|Freitext zur Messstelle";
  CLASS CLASS_CONTAINED;
  TYPE PACKED_ASCII(16);
  HANDLING RW;
}

VARIABLE message {
  LABEL_EN_DE("Message", "Nachricht");
  CLASS CLASS_CONTAINED;
  TYPE PACKED_ASCII(32);
  HANDLING RW;
}

VARIABLE install_date {
  LABEL_EN_DE("Installation date", "Installationsdatum");
  CLASS CLASS_CONTAINED;
  TYPE DATE;
  HANDLING RW;
}

VARIABLE write_protection {
  LABEL_EN_DE("Write protection", "Schreibschutz");
  HELP "|en|Set by the hardware switch of the device|de|Durch den Hardware-Schalter gesetzt";
  CLASS CLASS_CONTAINED;
  TYPE ENUMERATED(1) {
    {0, "|en|Off|de|Aus"}, { 1, "|en|On|de|Ein", "|en|Parameters cannot be written|de|Parameter nicht schreibbar" }
  }
  HANDLING RO;
}

/* The device's own view of its identity; shown, never written. */
COLLECTION OF VARIABLE device_identity {
  LABEL_EN_DE("Identification", "Identifikation");
  MEMBERS {
    TAG, tag;
    DESCRIPTOR, descriptor;
    MESSAGE, message;
    DATE, install_date;
  }
}

#endif /* ZARN_STD_VARIABLES_H */
