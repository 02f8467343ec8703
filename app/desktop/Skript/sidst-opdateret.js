// Skriver, hvornår siden sidst blev ændret på serveren.
var aendret = new Date(document.lastModified);
document.write("Sidst opdateret " + aendret.getDate() + "/" + (aendret.getMonth() + 1) +
               " " + aendret.getFullYear());
