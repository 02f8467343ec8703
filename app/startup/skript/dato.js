// Skriver dagens dato på dansk, fx "mandag d. 3. marts 2025".
var dage = new Array("søndag", "mandag", "tirsdag", "onsdag", "torsdag", "fredag", "lørdag");
var maaneder = new Array("januar", "februar", "marts", "april", "maj", "juni", "juli",
  "august", "september", "oktober", "november", "december");
var idag = new Date();
document.write(dage[idag.getDay()] + " d. " + idag.getDate() + ". " +
  maaneder[idag.getMonth()] + " " + idag.getFullYear());
