// Skriver dagens dato på dansk, fx "onsdag den 9. december 2026".
var dage = new Array("søndag", "mandag", "tirsdag", "onsdag", "torsdag", "fredag", "lørdag");
var maaneder = new Array("januar", "februar", "marts", "april", "maj", "juni",
                         "juli", "august", "september", "oktober", "november", "december");
var nu = new Date();
document.write(dage[nu.getDay()] + " den " + nu.getDate() + ". " +
               maaneder[nu.getMonth()] + " " + nu.getFullYear());
