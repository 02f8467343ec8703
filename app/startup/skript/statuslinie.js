// Viser en tekst i statuslinien, så længe siden er åben.
window.status = "Velkommen til min hjemmeside";
