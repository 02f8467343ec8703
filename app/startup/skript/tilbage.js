// Et link, der går en side tilbage i browserens historie.
document.write("<A HREF=\"javascript:history.back()\">Tilbage</A>");
